// The particle cloud effect drawn directly on the test context.
#include "production/effects/ParticleSystemEffect.h"

#include "demosys/data/ParticleSystem.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

using namespace effecttest;

namespace {

class ParticleEffectTest : public EffectHarness
{
};

int litPixels()
{
    int lit = 0;
    const auto all = GLTestContext::readPixels(0, 0, 64, 64);
    for (size_t i = 0; i < all.size(); i += 4)
        lit += all[i] > 20 || all[i + 1] > 20 || all[i + 2] > 20;
    return lit;
}

} // namespace

TEST_F(ParticleEffectTest, CloudRunsOnItsOwnClockAndLeavesDepthTestingOff)
{
    loadShader("sprite", "particlesprite");
    addTexture("spark", 8, 8, { 255, 255, 255, 255 });
    ParticleSystemEffect cloud;
    {
        StdoutCapture quiet;
        attach(cloud, { { "particlespriteshader", "sprite" }, { "texture", "spark" } });
    }
    ASSERT_NE(cloud.getSystem(), nullptr);
    EXPECT_EQ(cloud.getSystem()->getWidth() * cloud.getSystem()->getHeight(), 100);
    EXPECT_EQ(cloud.getClock(), 0.0f);

    // Start times spread over 100 clock units: none has started at 0.
    cloud.draw(0, 0);
    EXPECT_TRUE(noGLError());
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_EQ(litPixels(), 0);

    for (int frame = 0; frame < 60; ++frame)
    {
        startFrame();
        cloud.draw(frame * 100, 100);
    }
    EXPECT_FLOAT_EQ(cloud.getClock(), 60.0f) << "frame time x 0.01 per frame";
    startFrame();
    cloud.draw(6000, 0);
    EXPECT_TRUE(noGLError());
    EXPECT_GT(litPixels(), 10);

    // A new init seeds a new cloud and restarts the clock.
    {
        StdoutCapture capture;
        cloud.init();
        EXPECT_NE(capture.take().find("Index = 100\n"), std::string::npos);
    }
    EXPECT_NE(cloud.getSystem(), nullptr);
    EXPECT_EQ(cloud.getClock(), 0.0f);
}
