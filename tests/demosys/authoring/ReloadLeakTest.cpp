// An author edits, breaks and fixes the same shader and picture many times in
// one sitting, so every reload, taken or refused, must leave the GL objects as
// it found them: one program per shader, one name per texture. Live objects
// are counted by asking GL about every name up to a bound far past what this
// binary makes.
#include "demosys/authoring/PictureReload.h"
#include "demosys/authoring/ShaderReload.h"
#include "demosys/gl/Shader.h"
#include "demosys/gl/Texture.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/PngWriter.h"
#include "tests/support/TempDir.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

using pngtest::ColorType;

namespace {

const unsigned int LAST_NAME = 4096;

struct LiveObjects
{
    int shaders = 0;
    int programs = 0;
    int textures = 0;

    bool operator==(const LiveObjects& o) const
    {
        return shaders == o.shaders && programs == o.programs && textures == o.textures;
    }
};

std::ostream& operator<<(std::ostream& out, const LiveObjects& live)
{
    return out << live.shaders << " shaders, " << live.programs << " programs, " << live.textures << " textures";
}

LiveObjects countLive()
{
    LiveObjects live;
    for (GLuint name = 1; name <= LAST_NAME; ++name)
    {
        live.shaders += glIsShader(name) ? 1 : 0;
        live.programs += glIsProgram(name) ? 1 : 0;
        live.textures += glIsTexture(name) ? 1 : 0;
    }
    return live;
}

const char* const VERTEX = "void main() { gl_Position = gl_Vertex; }\n";

std::string redFragment(const char* red)
{
    return std::string("void main() { gl_FragColor = vec4(") + red + ", 0.0, 0.0, 1.0); }\n";
}

class ReloadLeakTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = temp.folder();
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        GLTestContext::takeGLError();
    }

    void TearDown() override
    {
        for (const std::string& file : written)
            std::remove(file.c_str());
        rmdir(dir.c_str());
    }

    // The file with these bytes; nullptr removes it.
    std::string put(const std::string& name, const std::string* bytes)
    {
        const std::string path = dir + "/" + name;
        written.push_back(path);
        std::remove(path.c_str());
        if (bytes)
            std::ofstream(path, std::ios::binary) << *bytes;
        return path;
    }

    // The red the shader draws over the whole picture.
    static int drawnRed(Shader& shader)
    {
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        shader.use();
        glBegin(GL_QUADS);
        glVertex2f(-1, -1);
        glVertex2f(1, -1);
        glVertex2f(1, 1);
        glVertex2f(-1, 1);
        glEnd();
        shader.release();
        return GLTestContext::readPixels(GLTestContext::WIDTH / 2, GLTestContext::HEIGHT / 2, 1, 1)[0];
    }

    testsupport::TempDir temp{ "mrvreload" };
    std::string dir;
    std::vector<std::string> written;
};

} // namespace

TEST_F(ReloadLeakTest, ShaderReloadsSwapOneProgramForAnotherAndFailuresKeepTheLastGoodOne)
{
    Shader shader;
    ASSERT_TRUE(shader.setVertexSource(VERTEX) && shader.setFragmentSource(redFragment("0.2")) && shader.link())
        << shader.getErrorMessage();
    ASSERT_EQ(drawnRed(shader), 51);

    struct Edit
    {
        const char* what;
        const char* vertex; // nullptr: the file is gone
        std::string fragment;
        int red; // what the shader draws afterwards: -1 for what it drew before
    };
    const std::vector<Edit> edits = {
        { "a good edit", VERTEX, redFragment("0.4"), 102 },
        { "a fragment shader that does not compile", VERTEX, "void main() { gl_FragColor = vec4(1.0) }\n", -1 },
        { "a vertex shader that does not compile", "void main() { gl_Position = 1; }\n", redFragment("0.6"), -1 },
        { "a varying that nothing writes", VERTEX,
          "varying float missing;\nvoid main() { gl_FragColor = vec4(missing); }\n", -1 },
        { "a vertex shader without main", "void helper() { gl_Position = gl_Vertex; }\n", redFragment("0.6"), -1 },
        { "a missing vertex file", nullptr, redFragment("0.6"), -1 },
        { "a fix after the failures", VERTEX, redFragment("0.8"), 204 },
        { "the same source again", VERTEX, redFragment("0.8"), 204 },
    };

    const LiveObjects start = countLive();
    int lastRed = 51;
    for (const Edit& edit : edits)
    {
        const std::string vertexText = edit.vertex ? edit.vertex : "";
        const std::string vertexFile = put("edit.vert", edit.vertex ? &vertexText : nullptr);
        const std::string fragmentFile = put("edit.frag", &edit.fragment);
        const unsigned int before = shader.getProgramHandle();
        ASSERT_LE(before, LAST_NAME) << "past the names counted";

        std::string error;
        const bool takes = edit.red >= 0;
        EXPECT_EQ(ShaderReload::reload(shader, vertexFile, fragmentFile, error), takes) << edit.what << ": " << error;
        EXPECT_EQ(countLive(), start) << edit.what;
        EXPECT_TRUE(shader.isValid()) << edit.what;
        EXPECT_TRUE(glIsProgram(shader.getProgramHandle())) << edit.what;
        if (takes)
        {
            EXPECT_NE(shader.getProgramHandle(), before) << edit.what;
            EXPECT_FALSE(glIsProgram(before)) << edit.what << ": the replaced program is deleted";
            lastRed = edit.red;
        }
        else
        {
            EXPECT_EQ(shader.getProgramHandle(), before) << edit.what;
            EXPECT_FALSE(error.empty()) << edit.what;
        }
        EXPECT_NEAR(drawnRed(shader), lastRed, 1) << edit.what;
    }
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(ReloadLeakTest, PictureReloadsKeepTheTextureNameAndRefusalsLeaveItsPixels)
{
    // Without alpha, as a 24-bit picture is loaded: a picture with alpha
    // must bring storage that keeps it.
    const unsigned char first[12] = { 10, 20, 30, 10, 20, 30, 10, 20, 30, 10, 20, 30 };
    Texture texture(2, 2, GL_TEXTURE_2D, GL_RGB, GL_RGB, first);
    ASSERT_TRUE(texture.isValid()) << texture.getErrorMessage();
    const unsigned int id = texture.getID();
    ASSERT_LE(id, LAST_NAME) << "past the names counted";

    auto png = [](int width, int height, ColorType type, std::vector<unsigned> pixel) {
        std::vector<unsigned> samples;
        for (int i = 0; i < width * height; ++i)
            samples.insert(samples.end(), pixel.begin(), pixel.end());
        const std::vector<unsigned char> bytes = pngtest::encodePng(pngtest::makePicture(width, height, type, samples));
        return std::string(bytes.begin(), bytes.end());
    };
    const std::string good = png(2, 2, ColorType::RGB, { 200, 100, 50 });

    struct Edit
    {
        const char* what;
        const std::string* file; // nullptr: the file is gone
        std::vector<unsigned> rgba; // the texel afterwards; empty for the one before
    };
    const std::string wider = png(3, 2, ColorType::RGB, { 1, 2, 3 });
    const std::string grey = png(2, 2, ColorType::Grey, { 77 });
    const std::string text = "not a picture\n";
    const std::string cut = good.substr(0, good.size() / 2);
    const std::string withAlpha = png(2, 2, ColorType::RGBA, { 5, 6, 7, 128 });
    const std::vector<Edit> edits = {
        { "a good picture", &good, { 200, 100, 50, 255 } },
        { "a picture of another size", &wider, {} },
        { "a grey picture", &grey, {} },
        { "a file that is not a PNG", &text, {} },
        { "a PNG cut short", &cut, {} },
        { "a missing file", nullptr, {} },
        { "a picture with alpha", &withAlpha, { 5, 6, 7, 128 } },
        { "a picture without alpha again", &good, { 200, 100, 50, 255 } },
    };

    const LiveObjects start = countLive();
    std::vector<unsigned> last = { 10, 20, 30, 255 };
    for (const Edit& edit : edits)
    {
        std::string error;
        const bool takes = !edit.rgba.empty();
        EXPECT_EQ(PictureReload::reload(texture, put("edit.png", edit.file), error), takes)
            << edit.what << ": " << error;
        EXPECT_EQ(countLive(), start) << edit.what;
        EXPECT_EQ(texture.getID(), id) << edit.what;
        if (takes)
            last = edit.rgba;
        else
            EXPECT_FALSE(error.empty()) << edit.what;

        unsigned char texels[16] = {};
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glBindTexture(GL_TEXTURE_2D, 0);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(texels[i], last[static_cast<size_t>(i % 4)]) << edit.what << ", byte " << i;
    }
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}
