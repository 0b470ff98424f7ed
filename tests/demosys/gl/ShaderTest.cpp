#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

const char* VERTEX = "varying vec2 uv;\n"
                     "void main() { uv = gl_MultiTexCoord0.xy; gl_Position = gl_Vertex; }\n";
const char* FRAGMENT = "uniform float level;\n"
                       "uniform vec3 tint;\n"
                       "uniform sampler2D picture;\n"
                       "varying vec2 uv;\n"
                       "void main() { gl_FragColor = vec4(level, tint.g, texture2D(picture, uv).b, 1.0); }\n";

class ShaderTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        GLTestContext::takeGLError();
    }

    static std::unique_ptr<Shader> build(const char* vs, const char* fs)
    {
        std::unique_ptr<Shader> s(new Shader);
        if (s->setVertexSource(vs) && s->setFragmentSource(fs))
            s->link();
        return s;
    }

    static void fullScreen()
    {
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(-1, -1);
        glTexCoord2f(1, 0); glVertex2f(1, -1);
        glTexCoord2f(1, 1); glVertex2f(1, 1);
        glTexCoord2f(0, 1); glVertex2f(-1, 1);
        glEnd();
    }
};

} // namespace

TEST_F(ShaderTest, CompiledProgramDrawsWithItsUniforms)
{
    std::unique_ptr<Shader> shader = build(VERTEX, FRAGMENT);
    ASSERT_TRUE(shader->isValid()) << shader->getErrorMessage();
    EXPECT_NE(shader->getProgramHandle(), 0u);

    const unsigned char blue[4] = { 0, 0, 255, 255 };
    Texture picture(1, 1, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, blue);

    shader->use();
    shader->setUniform1i("level", 1); // an integer into a float uniform
    shader->setUniform3f("tint", 0.0f, 0.5f, 0.0f);
    shader->setTextureUnit1("picture", &picture);
    fullScreen();
    shader->release();

    const auto p = GLTestContext::readPixels(32, 32, 1, 1);
    EXPECT_EQ(p[0], 255);
    EXPECT_NEAR(p[1], 128, 1);
    EXPECT_EQ(p[2], 255) << "sampled through unit 1";
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);

    shader->use();
    shader->setUniform1f("level", 0.25f);
    fullScreen();
    shader->release();
    EXPECT_NEAR(GLTestContext::readPixels(32, 32, 1, 1)[0], 64, 1);
}

TEST_F(ShaderTest, CompileAndLinkFailuresKeepTheirLogs)
{
    Shader broken;
    EXPECT_TRUE(broken.setVertexSource(VERTEX));
    EXPECT_FALSE(broken.setFragmentSource("void main() { gl_FragColor = undefined_thing; }\n"));
    EXPECT_FALSE(broken.isValid());
    EXPECT_NE(broken.getVertexHandle(), 0u) << "the vertex shader's name is kept";
    EXPECT_EQ(broken.getProgramHandle(), 0u);
    EXPECT_NE(broken.getErrorMessage().find("undefined_thing"), std::string::npos) << broken.getErrorMessage();

    Shader badVertex;
    EXPECT_FALSE(badVertex.setVertexSource("void main() { gl_Position = 1; }"));
    EXPECT_FALSE(badVertex.getErrorMessage().empty());

    // Both stages compile, but the fragment reads a varying nothing writes.
    Shader unlinked;
    EXPECT_TRUE(unlinked.setVertexSource("void main() { gl_Position = gl_Vertex; }\n"));
    EXPECT_TRUE(unlinked.setFragmentSource("varying float missing;\n"
                                           "void main() { gl_FragColor = vec4(missing); }\n"));
    EXPECT_FALSE(unlinked.link());
    EXPECT_FALSE(unlinked.isValid());
    EXPECT_NE(unlinked.getErrorMessage().find("missing"), std::string::npos) << unlinked.getErrorMessage();

    // A stage without main compiles; only the link finds out.
    Shader noMain;
    EXPECT_TRUE(noMain.setVertexSource("void helper() { gl_Position = gl_Vertex; }\n"));
    EXPECT_TRUE(noMain.setFragmentSource("void main() { gl_FragColor = vec4(1.0); }\n"));
    EXPECT_FALSE(noMain.link());
    EXPECT_FALSE(noMain.isValid());
    EXPECT_FALSE(noMain.getErrorMessage().empty());
}

TEST_F(ShaderTest, MissingUniformsAreReportedOnlyByTheReportingSetters)
{
    std::unique_ptr<Shader> shader = build(VERTEX, FRAGMENT);
    ASSERT_TRUE(shader->isValid());
    shader->use();
    MRVDemosys::system_error = false;

    StdoutCapture capture;
    shader->setUniform1f("nosuch", 1.0f);
    EXPECT_EQ(capture.take(), "Error: Uniform variable 'nosuch' not found!\n");
    EXPECT_TRUE(MRVDemosys::system_error);
    MRVDemosys::system_error = false;

    StdoutCapture quiet;
    shader->setUniform3f("nosuch", 1, 2, 3);
    shader->setUniform2f("nosuch", 1, 2);
    shader->setUniform4fv("nosuch", Vector<float, 4>(1, 2, 3, 4));
    EXPECT_EQ(quiet.take(), "");
    EXPECT_FALSE(MRVDemosys::system_error);

    StdoutCapture matrix;
    const float m[16] = { 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1 };
    shader->setUniform4x4m("nomatrix", m);
    EXPECT_EQ(matrix.take(), "Error: Uniform variable 'nomatrix' not found!\n");

    // Through a handle, as effects set them every frame: one line per name.
    const int missing = shader->uniform("nosuch");
    EXPECT_EQ(shader->uniform("nosuch"), missing) << "one handle per name";
    StdoutCapture once;
    for (int frame = 0; frame < 3; ++frame)
    {
        shader->setUniform1f(missing, 1.0f);
        shader->setUniform3f(missing, 1, 2, 3);
    }
    EXPECT_EQ(once.take(), "Error: Uniform variable 'nosuch' not found!\n");
    shader->release();
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(ShaderTest, TextureUnitsAndRelease)
{
    std::unique_ptr<Shader> shader = build(VERTEX, FRAGMENT);
    ASSERT_TRUE(shader->isValid());
    const unsigned char white[4] = { 255, 255, 255, 255 };
    Texture picture(1, 1, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, white);

    shader->use();
    shader->setTextureUnit2("picture", &picture);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    GLint unit = -1;
    glGetUniformiv(shader->getProgramHandle(), glGetUniformLocation(shader->getProgramHandle(), "picture"), &unit);
    EXPECT_EQ(unit, 2);
    glActiveTexture(GL_TEXTURE2);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), picture.getID());
    glActiveTexture(GL_TEXTURE0);

    shader->setTextureUnit0("picture", &picture);
    shader->release();
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    for (GLenum u : { GL_TEXTURE0, GL_TEXTURE1, GL_TEXTURE2, GL_TEXTURE3 })
    {
        glActiveTexture(u);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, 0) << "unit " << (u - GL_TEXTURE0);
    }
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(ShaderTest, DumpReportsSourceSizesAndNames)
{
    const std::string vs = "void main() { gl_Position = gl_Vertex; }" + std::string(120 - 40, ' ');
    const std::string fs = "void main() { gl_FragColor = vec4(1.0); }" + std::string(300 - 41, ' ');
    ASSERT_EQ(vs.size(), 120u);
    ASSERT_EQ(fs.size(), 300u);
    Shader shader;
    ASSERT_TRUE(shader.setVertexSource(vs));
    ASSERT_TRUE(shader.setFragmentSource(fs));
    ASSERT_TRUE(shader.link());
    EXPECT_EQ(shader.toString(), "Shader(vshader size = 120, fragshader size = 300, pref=" +
                                     std::to_string(shader.getProgramHandle()) + ", vref=" +
                                     std::to_string(shader.getVertexHandle()) + ", fref=" +
                                     std::to_string(shader.getFragmentHandle()) + ")");
}

TEST_F(ShaderTest, ReloadSwapsTheProgramInPlaceOrKeepsTheLastGoodOne)
{
    std::unique_ptr<Shader> shader = build(VERTEX, FRAGMENT);
    ASSERT_TRUE(shader->isValid());
    const unsigned int before = shader->getProgramHandle();
    const int green = shader->uniform("green");
    const int level = shader->uniform("level");

    std::string log;
    EXPECT_FALSE(shader->reload(VERTEX, "void main() { gl_FragColor = nonsense; }", log));
    EXPECT_NE(log.find("nonsense"), std::string::npos) << log;
    EXPECT_EQ(shader->getProgramHandle(), before) << "a failed reload keeps the running program";
    EXPECT_TRUE(glIsProgram(before));

    // The handles were taken before the program had "green" at all; the
    // reload resolves them again.
    ASSERT_TRUE(shader->reload("void main() { gl_Position = gl_Vertex; }",
                               "uniform float pad[7];\n"
                               "uniform float green;\n"
                               "uniform float level;\n"
                               "void main() { gl_FragColor = vec4(level + pad[6], green, 0.0, 1.0); }", log))
        << log;
    EXPECT_NE(shader->getProgramHandle(), before);
    EXPECT_FALSE(glIsProgram(before)) << "the old program is deleted";
    shader->use();
    shader->setUniform1f(green, 1.0f);
    shader->setUniform1f(level, 0.0f);
    fullScreen();
    shader->release();
    const auto p = GLTestContext::readPixels(32, 32, 1, 1);
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}
