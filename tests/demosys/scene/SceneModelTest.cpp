#include "demosys/data/DataObjectPool.h"
#include "demosys/data/DataTexturePool.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVMaterial.h"
#include "demosys/scene/MRVNode.h"
#include "demosys/scene/MRVObject.h"
#include "demosys/scene/MRVScene.h"
#include "demosys/scene/MRVSceneTree.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A scene whose root holds one node per name, each with an object.
MRVScene* flatScene(const std::vector<std::string>& names)
{
    MRVScene* scene = new MRVScene();
    scene->setTree(new MRVSceneTree());
    MRVNode* root = new MRVNode();
    scene->getTree()->setRoot(root);
    for (const std::string& name : names)
    {
        MRVObject* object = new MRVObject();
        object->setName(name);
        root->addChild((new MRVNode())->setObject(object));
    }
    return scene;
}

MRVObject* objectAt(MRVScene& scene, int i)
{
    return scene.getTree()->getRoot()->getChild(i)->getObject();
}

std::vector<float> frontAmbient()
{
    std::vector<float> v(4);
    glGetMaterialfv(GL_FRONT, GL_AMBIENT, v.data());
    return v;
}

} // namespace

TEST(SceneModelTest, FreshPartsHoldTheirDefaults)
{
    MRVScene scene;
    EXPECT_EQ(scene.getTree(), nullptr);
    ASSERT_NE(scene.getDefaultMaterial(), nullptr);
    EXPECT_EQ(scene.getDefaultMaterial()->getAmbient(), (Vector<float, 3>(1, 0, 0)));
    EXPECT_EQ(scene.getObjectByName("x"), nullptr);
    scene.calcSceneBBox();
    EXPECT_EQ(scene.getBBoxMin(), (Vector<float, 3>()));

    MRVNode node;
    const Matrix<float, 4, 4, 16> matrix = node.getMatrix();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(matrix[i], 0.0f);
    EXPECT_EQ(node.getObject(), nullptr);
    EXPECT_EQ(node.getChild(0), nullptr);

    MRVObject object;
    EXPECT_TRUE(object.isVisible());
    EXPECT_EQ(object.getVBO(), nullptr);
    EXPECT_EQ(object.getMaterial(), nullptr);
    EXPECT_EQ(object.getTranslation(), (Vector<float, 3>()));
    EXPECT_EQ(object.setTranslation(1, 2, 3), &object);
    EXPECT_EQ(object.getTranslation(), (Vector<float, 3>(1, 2, 3)));
}

TEST(SceneModelTest, SceneBoxSpansTheObjectBoxes)
{
    std::unique_ptr<MRVScene> scene(flatScene({ "a", "b" }));
    objectAt(*scene, 0)->setBBoxMin(0, 0, 0)->setBBoxMax(1, 1, 1)->setTranslation(50, 50, 50);
    objectAt(*scene, 1)->setBBoxMin(-2, 0.5f, 0)->setBBoxMax(0.5f, 3, 0.5f);
    scene->calcSceneBBox();
    EXPECT_EQ(scene->getBBoxMin(), (Vector<float, 3>(-2, 0, 0)));
    EXPECT_EQ(scene->getBBoxMax(), (Vector<float, 3>(1, 3, 1)));

    // A single object far from the origin: its own box, not one that also
    // reaches the origin.
    std::unique_ptr<MRVScene> far(flatScene({ "c" }));
    objectAt(*far, 0)->setBBoxMin(5, 6, 7)->setBBoxMax(8, 9, 10);
    far->calcSceneBBox();
    EXPECT_EQ(far->getBBoxMin(), (Vector<float, 3>(5, 6, 7)));
}

TEST(SceneModelTest, NameLookupIsDepthFirstAndExact)
{
    std::unique_ptr<MRVScene> scene(flatScene({ "hull", "mast", "sail", "mast" }));
    EXPECT_EQ(scene->getObjectByName("sail"), objectAt(*scene, 2));
    EXPECT_EQ(scene->getObjectByName("mast"), objectAt(*scene, 1));
    EXPECT_EQ(scene->getObjectByName("Mast"), nullptr);
    EXPECT_EQ(scene->getObjectByName("mas"), nullptr);

    // A grandchild under the first child is found before the second child.
    MRVNode* nested = new MRVNode();
    MRVObject* deep = new MRVObject();
    deep->setName("mast");
    nested->setObject(deep);
    scene->getTree()->getRoot()->getChild(0)->addChild(nested);
    EXPECT_EQ(scene->getTree()->getObjectByName("mast"), deep);

    MRVSceneTree empty;
    EXPECT_EQ(empty.getObjectByName("mast"), nullptr);
}

TEST(SceneModelTest, DrawFallsBackToTheDefaultMaterialAndSkipsHiddenObjects)
{
    std::unique_ptr<MRVScene> scene(flatScene({ "plain", "red" }));
    MRVMaterial* own = scene->addMaterial(new MRVMaterial());
    own->setAmbient(0, 0, 1);
    objectAt(*scene, 1)->setMaterial(own);

    // Objects draw in order: the last material the GL sees is the one of
    // the last visible object.
    objectAt(*scene, 1)->setVisible(false);
    MRVMaterial::useColor(0, 1, 0, 1);
    scene->draw();
    EXPECT_EQ(frontAmbient(), (std::vector<float>{ 1, 0, 0, 1 }));

    objectAt(*scene, 1)->setVisible(true);
    scene->draw();
    EXPECT_EQ(frontAmbient(), (std::vector<float>{ 0, 0, 1, 1 }));

    // Without a fallback an object without material keeps the GL's state.
    MRVMaterial::useColor(0, 1, 0, 1);
    scene->getTree()->getRoot()->getChild(0)->draw(nullptr);
    EXPECT_EQ(frontAmbient(), (std::vector<float>{ 0, 1, 0, 1 }));

    // A hidden object can still be drawn directly.
    objectAt(*scene, 1)->setVisible(false);
    objectAt(*scene, 1)->draw(nullptr);
    EXPECT_EQ(frontAmbient(), (std::vector<float>{ 0, 0, 1, 1 }));
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST(SceneModelTest, TextureMappingTakesTheTexturePoolsEntry)
{
    testsupport::RegistryGuard registry;
    StdoutCapture quiet;
    DataTexturePool pool;
    MRVDemosys::texturePool = &pool;
    const unsigned char white[3] = { 255, 255, 255 };
    Texture* texture = new Texture(1, 1, GL_TEXTURE_2D, GL_RGB, GL_RGB, white);
    texture->setFilename("wood.png");
    pool.addTexture("wood.png", texture);

    std::unique_ptr<MRVScene> scene(flatScene({ "textured", "missing", "untextured", "bare" }));
    MRVMaterial* wood = scene->addMaterial(new MRVMaterial());
    wood->setDiffuseMap("wood.png");
    MRVMaterial* lost = scene->addMaterial(new MRVMaterial());
    lost->setDiffuseMap("stone.png")->setDiffuseTexture(texture);
    MRVMaterial* plain = scene->addMaterial(new MRVMaterial());
    objectAt(*scene, 0)->setMaterial(wood);
    objectAt(*scene, 1)->setMaterial(lost);
    objectAt(*scene, 2)->setMaterial(plain);

    DataObjectPool objects;
    objects.addObject("ship", scene.release());
    objects.mapTextureData();
    EXPECT_EQ(wood->getDiffuseTexture(), texture);
    EXPECT_EQ(lost->getDiffuseTexture(), nullptr);
    EXPECT_EQ(plain->getDiffuseTexture(), nullptr);
}

TEST(SceneModelTest, ObjectPoolOrdersByNameAndAnnouncesDisposal)
{
    StdoutCapture capture;
    {
        DataObjectPool pool;
        EXPECT_EQ(pool.toString(), "DataObjectPool {\n}\n");
        MRVScene* b = new MRVScene();
        MRVScene* a = new MRVScene();
        MRVScene* c = new MRVScene();
        pool.addObject("b", b);
        pool.addObject("a", a);
        pool.addObject("c", c);
        EXPECT_EQ(pool.size(), 3);
        EXPECT_EQ(pool.getObject(0), a);
        EXPECT_EQ(pool.getObject(1), b);
        EXPECT_EQ(pool.getObject(2), c);
        EXPECT_EQ(pool.getObject(3), nullptr);
        EXPECT_EQ(pool.getObject(-1), nullptr);
        EXPECT_EQ(pool.getObject("b"), b);
        EXPECT_EQ(pool.getObject("d"), nullptr);
        EXPECT_FALSE(pool.exists("d"));
        EXPECT_TRUE(pool.exists("c"));
        EXPECT_EQ(pool.getObjectMap().size(), 3u);
        EXPECT_EQ(pool.toString(), "DataObjectPool {\n}\n");
        pool.addObject("empty", nullptr);
        EXPECT_TRUE(pool.exists("empty"));
    }
    EXPECT_EQ(capture.take(), "[Dispose objectPool]\n -> delete a\n -> delete b\n -> delete c\n -> delete empty\n");
}
