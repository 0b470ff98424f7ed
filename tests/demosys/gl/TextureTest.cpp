#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/PngWriter.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

using pngtest::ColorType;

namespace {

const unsigned char RED[3] = { 255, 0, 0 }, GREEN[3] = { 0, 255, 0 }, BLUE[3] = { 0, 0, 255 },
                    WHITE[3] = { 255, 255, 255 };

class TextureTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glViewport(0, 0, GLTestContext::WIDTH, GLTestContext::HEIGHT);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        glColor4f(1, 1, 1, 1);
        GLTestContext::takeGLError();
    }

    std::string writePng(const std::string& name, const pngtest::Picture& picture)
    {
        const std::string path = ::testing::TempDir() + "mrvtex_" + name + ".png";
        EXPECT_TRUE(pngtest::writeFile(path, pngtest::encodePng(picture)));
        return path;
    }

    // Top row red, green; bottom row blue, white.
    std::string quadrants()
    {
        return writePng("quadrants", pngtest::makePicture(2, 2, ColorType::RGB,
                                                          { 255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255 }));
    }

    static void expectPixel(int x, int y, const unsigned char rgb[3])
    {
        const auto p = GLTestContext::readPixels(x, y, 1, 1);
        EXPECT_EQ(p[0], rgb[0]) << "at " << x << "," << y;
        EXPECT_EQ(p[1], rgb[1]) << "at " << x << "," << y;
        EXPECT_EQ(p[2], rgb[2]) << "at " << x << "," << y;
    }
};

} // namespace

TEST_F(TextureTest, LoadedPictureDrawsUprightAndFlipped)
{
    std::unique_ptr<Texture> texture(MRVDemosys::loadTexture(quadrants(), GL_TEXTURE_2D, false));
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->getWidth(), 2);
    EXPECT_EQ(texture->getBPP(), 24);
    EXPECT_EQ(texture->getFileSize(), 0);
    EXPECT_NE(texture->getID(), 0u);
    texture->setInterpolation(GL_NEAREST);

    texture->drawQuadFS();
    // Window y runs upward: row 60 is near the top.
    expectPixel(4, 60, RED);
    expectPixel(60, 60, GREEN);
    expectPixel(4, 4, BLUE);
    expectPixel(60, 4, WHITE);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "released after the quad";

    texture->drawQuadFS_Flip();
    expectPixel(4, 4, RED);
    expectPixel(60, 4, GREEN);
    expectPixel(4, 60, BLUE);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(TextureTest, BlendedQuadUsesItsFactorsAndPutsBlendingAndTheAlphaTestBack)
{
    std::unique_ptr<Texture> texture(MRVDemosys::loadTexture(quadrants(), GL_TEXTURE_2D, false));
    ASSERT_NE(texture, nullptr);
    texture->setInterpolation(GL_NEAREST);
    texture->drawQuadBlendFS(GL_ONE, GL_ZERO);
    expectPixel(4, 4, RED); // drawn flipped
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);

    // Added to what is there: blue under red gives magenta.
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    texture->drawQuadBlendFS(GL_ONE, GL_ONE);
    const unsigned char magenta[3] = { 255, 0, 255 };
    expectPixel(4, 4, magenta);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(TextureTest, ScaledQuadsUseTheCurrentMatrices)
{
    std::unique_ptr<Texture> texture(MRVDemosys::loadTexture(quadrants(), GL_TEXTURE_2D, false));
    ASSERT_NE(texture, nullptr);
    texture->setInterpolation(GL_NEAREST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // Top-left corner at (0, 0): fills the lower right quarter of the window.
    texture->drawQuadScaled(Vector<float, 2>(1.0f, 1.0f), Vector<float, 2>(0.0f, 0.0f));
    expectPixel(36, 28, RED);
    expectPixel(60, 4, WHITE);
    const unsigned char black[3] = { 0, 0, 0 };
    expectPixel(4, 60, black);

    glClear(GL_COLOR_BUFFER_BIT);
    texture->drawQuadScaled(Vector<float, 2>(1.0f, 1.0f)); // centred, half the window
    expectPixel(20, 40, RED);
    expectPixel(43, 20, WHITE);
    expectPixel(2, 2, black);
}

TEST_F(TextureTest, PaletteAndSixteenBitPicturesUploadWithTheirFormat)
{
    pngtest::Picture palette;
    palette.width = 2;
    palette.height = 1;
    palette.type = ColorType::Palette;
    palette.samples = { 0, 1 };
    palette.palette = { 255, 0, 0, 0, 0, 255 };
    std::unique_ptr<Texture> rgb(MRVDemosys::loadTexture(writePng("pal", palette), GL_TEXTURE_2D, false));
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->getBPP(), 24);

    palette.paletteAlpha = { 128, 255 };
    std::unique_ptr<Texture> rgba(MRVDemosys::loadTexture(writePng("palt", palette), GL_TEXTURE_2D, false));
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(rgba->getBPP(), 32);
    glBindTexture(GL_TEXTURE_2D, rgba->getID());
    GLint alphaBits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_GT(alphaBits, 0) << "uploaded as RGBA";
    glBindTexture(GL_TEXTURE_2D, rgb->getID());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_EQ(alphaBits, 0) << "uploaded as RGB";
    glBindTexture(GL_TEXTURE_2D, 0);

    pngtest::Picture deep = pngtest::makePicture(1, 1, ColorType::RGBA, { 65535, 0, 32768, 65535 }, 16);
    std::unique_ptr<Texture> wide(MRVDemosys::loadTexture(writePng("rgba16", deep), GL_TEXTURE_2D, false));
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->getBPP(), 32);
}

TEST_F(TextureTest, OneDimensionalTexturesTakeTheLongerSide)
{
    std::vector<unsigned> samples(64 * 3, 200);
    for (const auto& size : { std::pair<int, int>(1, 64), std::pair<int, int>(64, 1) })
    {
        const std::string path = writePng("line" + std::to_string(size.first),
                                          pngtest::makePicture(size.first, size.second, ColorType::RGB, samples));
        std::unique_ptr<Texture> line(MRVDemosys::loadTexture(path, GL_TEXTURE_1D, false));
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->getType(), static_cast<unsigned>(GL_TEXTURE_1D));
        glBindTexture(GL_TEXTURE_1D, line->getID());
        GLint length = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_WIDTH, &length);
        EXPECT_EQ(length, 64);
        glBindTexture(GL_TEXTURE_1D, 0);
        EXPECT_NE(line->toString().find("dimtype=GL_TEXTURE_1D }"), std::string::npos) << line->toString();
    }
}

TEST_F(TextureTest, MipmapsDumpAndBadFiles)
{
    const std::string path = quadrants();
    std::unique_ptr<Texture> mip(MRVDemosys::loadTexture(path, GL_TEXTURE_2D, true));
    ASSERT_NE(mip, nullptr);
    EXPECT_TRUE(mip->isMipmapped());
    EXPECT_EQ(mip->toString(), "Texture {file='" + path + "',id=" + std::to_string(mip->getID()) +
                                   "',size='2,2',bpp='24' mipmapped dimtype=GL_TEXTURE_2D }\n");
    glBindTexture(GL_TEXTURE_2D, mip->getID());
    GLint levelOne = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOne);
    EXPECT_EQ(levelOne, 1) << "the chain was built";
    glBindTexture(GL_TEXTURE_2D, 0);

    std::unique_ptr<Texture> empty3D(MRVDemosys::loadTexture(path, GL_TEXTURE_3D, false));
    ASSERT_NE(empty3D, nullptr);
    EXPECT_NE(empty3D->toString().find("dimtype=GL_TEXTURE_3D }"), std::string::npos);

    const std::string notPng = ::testing::TempDir() + "mrvtex_not.png";
    pngtest::writeFile(notPng, { 'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0 });
    EXPECT_EQ(MRVDemosys::loadTexture(notPng, GL_TEXTURE_2D, false), nullptr);
    EXPECT_EQ(MRVDemosys::loadTexture(::testing::TempDir() + "mrvtex_missing.png", GL_TEXTURE_2D, false), nullptr);
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(TextureTest, RawTexturesAndBindState)
{
    const unsigned char pixels[4 * 4] = { 255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255 };
    Texture raw(2, 2, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, pixels);
    EXPECT_EQ(raw.getBPP(), 32);
    EXPECT_EQ(raw.getMemorySize(), 16);

    raw.setTextureWrap(GL_CLAMP_TO_EDGE, GL_MIRRORED_REPEAT)->setInterpolation(GL_NEAREST)->setTextureEnv(GL_REPLACE);
    raw.bind();
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP_TO_EDGE);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_MIRRORED_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_REPLACE);
    raw.release();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    // A change on the record still reaches the GL object at the next bind,
    // a repeated bind leaves it as it is.
    raw.setInterpolation(GL_LINEAR)->setTextureWrap(GL_REPEAT);
    for (int bind = 0; bind < 2; ++bind)
    {
        raw.bind();
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
        EXPECT_EQ(value, GL_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
        EXPECT_EQ(value, GL_REPEAT);
        raw.release();
    }

    const unsigned char line[3 * 4] = {};
    Texture oneD(4, 1, GL_TEXTURE_1D, GL_RGB, GL_RGB, line);
    EXPECT_EQ(oneD.getType(), static_cast<unsigned>(GL_TEXTURE_1D));

    Texture storage(8, 4, GL_RGBA, GL_RGBA);
    storage.updateTexture(16, 8, GL_RGBA, GL_RGBA, nullptr);
    EXPECT_EQ(storage.getWidth(), 16);
    glBindTexture(GL_TEXTURE_2D, storage.getID());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &value);
    EXPECT_EQ(value, 8);
    glBindTexture(GL_TEXTURE_2D, 0);

    const GLuint id = raw.getID();
    std::unique_ptr<Texture> doomed(new Texture(1, 1, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, pixels));
    const GLuint name = doomed->getID();
    EXPECT_TRUE(glIsTexture(name));
    doomed.reset();
    EXPECT_FALSE(glIsTexture(name)) << "the record owns its GL name";
    EXPECT_TRUE(glIsTexture(id));
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}

TEST_F(TextureTest, TextureWithoutStorageIsInertAndSaysSoOnce)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    Texture empty(0, 0, GL_RGBA, GL_RGBA);
    Texture huge(largest + 1, 4, GL_RGBA, GL_RGBA);
    GLTestContext::takeGLError();
    EXPECT_FALSE(empty.isValid());
    EXPECT_EQ(empty.getErrorMessage(), "Texture storage of 0x0 pixels could not be allocated\n");
    EXPECT_FALSE(huge.isValid());
    EXPECT_EQ(huge.getErrorMessage(),
              "Texture storage of " + std::to_string(largest + 1) + "x4 pixels could not be allocated\n");

    MRVDemosys::system_error = false;
    StdoutCapture capture;
    for (int frame = 0; frame < 2; ++frame)
    {
        huge.bind();
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        huge.drawQuadFS();
        huge.release();
    }
    EXPECT_EQ(capture.take(), "Texture : ignoring every use of texture " + std::to_string(huge.getID()) + ": " +
                                  huge.getErrorMessage());
    EXPECT_TRUE(MRVDemosys::system_error);
    MRVDemosys::system_error = false;

    // New storage mends it.
    huge.updateTexture(4, 4, GL_RGBA, GL_RGBA, nullptr);
    EXPECT_TRUE(huge.isValid());
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
}
