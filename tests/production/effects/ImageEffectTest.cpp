// The image effects drawn directly on the test context: the GL state each
// leaves for the effects after it, the buffers it consumes or keeps, and the
// unregistered radial blur's passes.
#include "production/effects/BlendEffect.h"
#include "production/effects/FadeEffect.h"
#include "production/effects/GlowEffect.h"
#include "production/effects/MotionBlurEffect.h"
#include "production/effects/RadialBlurEffect.h"

#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

#include <algorithm>
#include <cmath>

using namespace effecttest;

namespace {

class ImageEffectTest : public EffectHarness
{
};

} // namespace

TEST_F(ImageEffectTest, GlowConsumesItsSourceOnlyAndLeavesCullingAndDepthOff)
{
    loadShader("blurx");
    loadShader("blury");
    loadShader("glow");
    FrameBufferObject* source = addFbo("src", 64, 36);
    FrameBufferObject* bx = addFbo("bx", 32, 18);
    FrameBufferObject* by = addFbo("by", 32, 18);
    fill(source, 0.4f, 0.2f, 0.6f);
    GlowEffect glow;
    attach(glow, { { "blurx_shader", "blurx" }, { "blury_shader", "blury" }, { "source_fbo", "src" },
                   { "blurx_fbo", "bx" }, { "blury_fbo", "by" }, { "screen_shader", "glow" } },
           { { "opacity", { { 0, 0.5f } } } });
    ASSERT_EQ(glow.getTrackNames(), std::vector<std::string>{ "opacity" });
    for (FrameBufferObject* fbo : { source, bx, by })
        EXPECT_EQ(fbo->getColorBuffer()->getWrapS(), GL_CLAMP_TO_EDGE);

    glow.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    EXPECT_TRUE(source->hasClearFlag());
    EXPECT_FALSE(bx->hasClearFlag()) << "the blur passes overwrite their buffers whole";
    EXPECT_FALSE(by->hasClearFlag());
    // Source plus half of its (plain, so identical) blurred copy.
    const auto p = pixel(CX, CY);
    EXPECT_NEAR(p[0], 153, 3);
    EXPECT_NEAR(p[1], 77, 3);
    EXPECT_NEAR(p[2], 230, 3);
}

TEST_F(ImageEffectTest, MotionBlurKeepsItsHistoryBuffersAndConsumesTheFrame)
{
    loadShader("texture");
    loadShader("motionblur");
    FrameBufferObject* aux1 = addFbo("aux1", 64, 36);
    FrameBufferObject* aux2 = addFbo("aux2", 64, 36);
    FrameBufferObject* offscreen = addFbo("offscreen", 64, 36);
    MotionBlurEffect blur;
    attach(blur, { { "texture_shader", "texture" }, { "motionblur_shader", "motionblur" }, { "aux1", "aux1" },
                   { "aux2", "aux2" }, { "offscreen", "offscreen" } },
           { { "blurfactor", { { 0, 0.25f } } } });

    fill(offscreen, 0.8f, 0.4f, 0.0f);
    blur.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(offscreen->hasClearFlag());
    EXPECT_FALSE(aux1->hasClearFlag());
    EXPECT_FALSE(aux2->hasClearFlag());
    // 3/4 of the frame over a black history, on screen and in the history.
    EXPECT_NEAR(pixel(CX, CY)[0], 153, 2);
    EXPECT_NEAR(pixelOf(aux2, 32, 18)[0], 153, 2);
    EXPECT_NEAR(pixelOf(aux1, 32, 18)[1], 77, 2);
}

TEST_F(ImageEffectTest, BlendClampsBothBuffersEveryFrameAndConsumesThem)
{
    loadShader("blend");
    FrameBufferObject* one = addFbo("one", 64, 36);
    FrameBufferObject* two = addFbo("two", 64, 36);
    fill(one, 0.5f, 0.0f, 0.0f);
    fill(two, 0.0f, 0.0f, 0.5f);
    BlendEffect blend;
    attach(blend, { { "shader", "blend" }, { "buffer1", "one" }, { "buffer2", "two" } });
    EXPECT_EQ(blend.getTrackCount(), 0);

    for (int frame = 0; frame < 2; ++frame)
    {
        one->getColorBuffer()->setTextureWrap(GL_REPEAT);
        two->getColorBuffer()->setTextureWrap(GL_REPEAT);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_COLOR_MATERIAL);
        // Frame 0 as a frame starts, with back faces culled; frame 1 after
        // an effect that switched culling off.
        if (frame == 1)
            glDisable(GL_CULL_FACE);
        blend.draw(0, 20);
        EXPECT_TRUE(noGLError());
        EXPECT_TRUE(balanced());
        EXPECT_TRUE(enabled(GL_DEPTH_TEST));
        EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
        EXPECT_EQ(one->getColorBuffer()->getWrapS(), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(two->getColorBuffer()->getWrapT(), GL_CLAMP_TO_EDGE);
        EXPECT_TRUE(one->hasClearFlag());
        EXPECT_TRUE(two->hasClearFlag());
        EXPECT_EQ(enabled(GL_CULL_FACE), frame == 0) << "culling is left as it was found";
        const auto p = pixel(CX, CY);
        EXPECT_NEAR(p[0], 128, 2) << frame;
        EXPECT_NEAR(p[2], 128, 2) << frame;
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

TEST_F(ImageEffectTest, FadeLeavesTexturingOffAndDepthOnWhateverCameBefore)
{
    FadeEffect fade;
    attach(fade, {}, { { "red", { { 0, 1.0f } } }, { "green", { { 0, 0.5f } } }, { "alpha", { { 0, 0.5f } } } });
    EXPECT_EQ(fade.getTrackNames(), (std::vector<std::string>{ "alpha", "red", "green", "blue" }));

    glClearColor(0.0f, 0.0f, 0.8f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_ALPHA_TEST);
    fade.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_FALSE(enabled(GL_TEXTURE_2D));
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_ALPHA_TEST));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    const float* colour = fade.getColor();
    EXPECT_EQ(std::vector<float>(colour, colour + 4), (std::vector<float>{ 1.0f, 0.5f, 0.0f, 0.5f }));
    // Half of (1, 0.5, 0) over (0, 0, 0.8), across the whole viewport.
    for (const auto& at : { std::make_pair(CX, CY), std::make_pair(1, 15), std::make_pair(61, 49) })
    {
        const auto p = pixel(at.first, at.second);
        EXPECT_NEAR(p[0], 128, 2);
        EXPECT_NEAR(p[1], 64, 2);
        EXPECT_NEAR(p[2], 102, 2);
    }
}

TEST_F(ImageEffectTest, RadialBlurRunsTenGrowingFadingPassesAndEmptiesItsBuffers)
{
    FrameBufferObject source(64, 36, false, false);
    FrameBufferObject ping(64, 36, false, false);
    FrameBufferObject pong(64, 36, false, false);
    fill(&source, 20.0f / 255.0f, 20.0f / 255.0f, 20.0f / 255.0f);
    RadialBlurEffect blur;
    blur.init();
    EXPECT_EQ(blur.getIterations(), 10);
    blur.setBuffers(&source, &ping, &pong);
    // The blurred layer fully opaque: the screen then shows the last pass.
    blur.getFade().setTime(MRVTime(0u), MRVTime(1000u));
    blur.getFade().setValues(1.0f, 1.0f);

    blur.draw(500, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));

    // Each pass adds the other buffer onto what its target holds, at the
    // pass's alpha times the alpha stored with the colour (blending adds
    // alpha too): a copy, then alphas 0.75, 0.70, ... 0.30. One pass more or
    // less ends far from this.
    struct Stored
    {
        double colour, alpha;
    };
    Stored buffers[2] = { { 20.0, 1.0 }, { 0.0, 0.0 } };
    double passAlpha = 0.75;
    for (int pass = 0; pass < 10; ++pass, passAlpha -= 0.05)
    {
        const Stored& read = buffers[pass % 2];
        Stored& write = buffers[1 - pass % 2];
        const double a = read.alpha * passAlpha;
        write.colour = std::min(255.0, std::round(write.colour + read.colour * a));
        write.alpha = std::min(1.0, write.alpha + a * a);
    }
    const double a = buffers[0].colour;
    EXPECT_NEAR(pixel(CX, CY)[0], a, 5);
    for (FrameBufferObject* fbo : { &source, &ping, &pong })
        EXPECT_EQ(pixelOf(fbo, 32, 18), (std::array<int, 4>{ 0, 0, 0, 0 })) << "emptied for the next frame";
}

TEST_F(ImageEffectTest, RadialBlurWithoutBuffersDrawsNothing)
{
    RadialBlurEffect blur;
    blur.init();
    blur.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_EQ(pixel(CX, CY), (std::array<int, 4>{ 0, 0, 0, 0 }));
}

TEST_F(ImageEffectTest, MissingResourcesAreReportedAndLeaveTheEffectDark)
{
    loadShader("blend");
    addFbo("one", 64, 36);
    struct Case
    {
        Effect* effect;
        std::map<std::string, std::string> values;
        std::string line;
    };
    GlowEffect glow;
    MotionBlurEffect motion;
    BlendEffect blend;
    const std::vector<Case> cases = {
        { &glow, { { "blurx_shader", "nothing" } }, "GlowEffect 'fx0' : shader 'nothing' not found" },
        { &motion, { { "aux1", "gone" } }, "MotionBlurEffect 'fx1' : framebuffer 'gone' not found" },
        { &blend, { { "shader", "blend" }, { "buffer1", "one" }, { "buffer2", "two" } },
          "BlendEffect 'fx2' : framebuffer 'two' not found" },
    };
    for (const Case& c : cases)
    {
        StdoutCapture capture;
        attach(*c.effect, c.values);
        EXPECT_NE(capture.take().find(c.line + ", the effect is not drawn\n"), std::string::npos) << c.line;
        c.effect->draw(0, 20);
        EXPECT_TRUE(noGLError());
        EXPECT_TRUE(balanced());
        EXPECT_TRUE(enabled(GL_DEPTH_TEST)) << "nothing was touched";
        EXPECT_TRUE(enabled(GL_CULL_FACE));
    }
}
