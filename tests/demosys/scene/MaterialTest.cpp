#include "demosys/scene/MRVMaterial.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<float> material(GLenum face, GLenum which)
{
    std::vector<float> v(4, -1.0f);
    glGetMaterialfv(face, which, v.data());
    return v;
}

} // namespace

TEST(MaterialTest, DefaultsAndSetters)
{
    MRVMaterial m;
    EXPECT_EQ(m.getAmbient(), (Vector<float, 3>(1, 0, 0)));
    EXPECT_EQ(m.getDiffuse(), (Vector<float, 3>(1, 0, 0)));
    EXPECT_EQ(m.getEmissive(), (Vector<float, 3>(0, 0, 0)));
    EXPECT_EQ(m.getSpecular(), (Vector<float, 3>(0.25f, 0.25f, 0.25f)));
    EXPECT_FLOAT_EQ(m.getShininess(), 10.0f);
    EXPECT_EQ(m.getDiffuseTexture(), nullptr);
    EXPECT_EQ(m.getNormalTexture(), nullptr);
    EXPECT_EQ(m.getDiffuseMap(), "");
    EXPECT_EQ(m.getNormalMap(), "");

    EXPECT_EQ(m.setAmbient(0.1f, 0.2f, 0.3f)->setShininess(64)->setDiffuseMap("wood.png")->setNormalMap("bump.png"),
              &m);
    EXPECT_EQ(m.getAmbient(), (Vector<float, 3>(0.1f, 0.2f, 0.3f)));
    EXPECT_EQ(m.getDiffuseMap(), "wood.png");
    EXPECT_EQ(m.getNormalMap(), "bump.png");
}

TEST(MaterialTest, UseSendsEachColourWithTheNextGroupsFirstValue)
{
    MRVMaterial().use();
    EXPECT_EQ(material(GL_FRONT, GL_AMBIENT), (std::vector<float>{ 1, 0, 0, 1 }));
    EXPECT_EQ(material(GL_FRONT, GL_DIFFUSE), (std::vector<float>{ 1, 0, 0, 0 }));
    EXPECT_EQ(material(GL_BACK, GL_SPECULAR), (std::vector<float>{ 0.25f, 0.25f, 0.25f, 10 }));
    EXPECT_FLOAT_EQ(material(GL_BACK, GL_SHININESS)[0], 10.0f);

    // The emissive colour is never sent, only its red as diffuse alpha.
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, std::vector<float>{ 0.5f, 0.5f, 0.5f, 1 }.data());
    MRVMaterial lit;
    lit.setAmbient(0.1f, 0.2f, 0.3f)->setDiffuse(0.4f, 0.5f, 0.6f);
    lit.setEmissive(0.7f, 0.8f, 0.9f)->setSpecular(1, 1, 1)->setShininess(32);
    lit.use();
    EXPECT_EQ(material(GL_FRONT, GL_AMBIENT), (std::vector<float>{ 0.1f, 0.2f, 0.3f, 0.4f }));
    EXPECT_EQ(material(GL_BACK, GL_DIFFUSE), (std::vector<float>{ 0.4f, 0.5f, 0.6f, 0.7f }));
    EXPECT_EQ(material(GL_FRONT, GL_SPECULAR), (std::vector<float>{ 1, 1, 1, 32 }));
    EXPECT_EQ(material(GL_FRONT, GL_EMISSION), (std::vector<float>{ 0.5f, 0.5f, 0.5f, 1 }));
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, std::vector<float>{ 0, 0, 0, 1 }.data());
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST(MaterialTest, UseColorSetsAmbientAndDiffuseOnly)
{
    MRVMaterial().use();
    MRVMaterial::useColor(0.2f, 0.4f, 0.6f, 0.8f);
    EXPECT_EQ(material(GL_FRONT, GL_AMBIENT), (std::vector<float>{ 0.2f, 0.4f, 0.6f, 0.8f }));
    EXPECT_EQ(material(GL_BACK, GL_DIFFUSE), (std::vector<float>{ 0.2f, 0.4f, 0.6f, 0.8f }));
    EXPECT_EQ(material(GL_FRONT, GL_SPECULAR), (std::vector<float>{ 0.25f, 0.25f, 0.25f, 10 }));
    MRVMaterial::useColor(Vector<float, 4>(1, 0, 1, 1));
    EXPECT_EQ(material(GL_FRONT, GL_DIFFUSE), (std::vector<float>{ 1, 0, 1, 1 }));
}

TEST(MaterialTest, PrintWritesAmbientAndDiffuse)
{
    StdoutCapture capture;
    MRVMaterial().print();
    EXPECT_EQ(capture.take(), "Amb : [1,0,0]\nDif : [1,0,0]\n");
}
