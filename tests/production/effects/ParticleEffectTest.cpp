// The particle cloud effect drawn directly on the test context.
#include "production/effects/ParticleSystemEffect.h"

#include "demosys/data/Particle.h"
#include "demosys/data/ParticleSystem.h"
#include "demosys/gl/GLw.h"
#include "production/effects/ParticleBatch.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

#include <algorithm>
#include <cmath>

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

// With a beat, a second cloud leaves the centre together on every beat and
// shows while the slow cloud has not started yet.
TEST_F(ParticleEffectTest, BurstCloudLeavesTheCentreTogetherOnEveryBeat)
{
    loadShader("sprite", "particlesprite");
    addTexture("spark", 8, 8, { 255, 255, 255, 255 });
    ParticleSystemEffect cloud;
    {
        StdoutCapture quiet;
        attach(cloud, { { "particlespriteshader", "sprite" }, { "texture", "spark" }, { "grid", "4" }, { "burst", "500" } });
    }
    ASSERT_NE(cloud.getSystem(), nullptr);
    ASSERT_NE(cloud.getBurst(), nullptr);
    EXPECT_EQ(cloud.getSystem()->getWidth(), 4);
    EXPECT_EQ(cloud.getBurst()->getHeight(), 4);
    const float* starts = cloud.getBurst()->getStartData();
    EXPECT_TRUE(std::all_of(starts, starts + 16, [](float t) { return t == 0.0f; }));
    EXPECT_FLOAT_EQ(cloud.burstAge(1000), 0.0f) << "on the beat";
    EXPECT_FLOAT_EQ(cloud.burstAge(1250), 49.95f);
    EXPECT_FLOAT_EQ(cloud.burstAge(1250), cloud.burstAge(250));
    EXPECT_LT(cloud.burstAge(1499), 100.0f) << "gone, not begun again, just before the next beat";

    cloud.draw(1100, 0);
    EXPECT_TRUE(noGLError());
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_GT(litPixels(), 0) << "the burst, on a clock at which the slow cloud shows nothing";

    ParticleSystemEffect plain;
    {
        StdoutCapture quiet;
        attach(plain, { { "particlespriteshader", "sprite" }, { "texture", "spark" } });
    }
    EXPECT_EQ(plain.getBurst(), nullptr);
}

// The batch stands in for Particle::draw: the same step and the same quad.
TEST_F(ParticleEffectTest, BatchedParticlesMoveFadeAndDrawAsParticleDrawDoes)
{
    auto setUp = [](Particle& p) {
        p.setRotation(0.0f)
            ->setColor(1.0f, 0.5f, 0.0f)
            ->setPosition(-0.4f, 0.1f, 0.0f)
            ->setSize(0.25f)
            ->setDirection(1.0f, 0.0f, 0.0f)
            ->setGravity(0.0f, -0.5f, 0.0f)
            ->setAcceleration(2.0f)
            ->setLifespan(0.5f);
    };
    Particle alone, batched;
    setUp(alone);
    setUp(batched);
    ParticleBatch batch(4);

    GLw::resetAndStoreProjectionModelview();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (int frame = 0; frame < 2; ++frame)
    {
        glClear(GL_COLOR_BUFFER_BIT);
        alone.draw(0.2f);
        const std::vector<unsigned char> expected = GLTestContext::readPixels(0, 0, 64, 64);
        glClear(GL_COLOR_BUFFER_BIT);
        batch.add(batched, 0.2f);
        batch.draw();
        EXPECT_TRUE(GLTestContext::readPixels(0, 0, 64, 64) == expected) << "frame " << frame;
        EXPECT_TRUE(batched.getPosition() == alone.getPosition()) << "frame " << frame;
        EXPECT_TRUE(batched.getDirection() == alone.getDirection()) << "frame " << frame;
        EXPECT_EQ(batched.getLifespan(), alone.getLifespan());
        EXPECT_EQ(batched.getEnergy(), alone.getEnergy());
    }
    glDisable(GL_BLEND);
    int brightest = 0;
    const std::vector<unsigned char> shown = GLTestContext::readPixels(0, 0, 64, 64);
    for (size_t i = 0; i < shown.size(); i += 4)
        brightest = std::max(brightest, static_cast<int>(shown[i]));
    EXPECT_LT(std::abs(brightest - 26), 2) << "faded to the lifespan left, 0.1";
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY) || glIsEnabled(GL_COLOR_ARRAY) || glIsEnabled(GL_TEXTURE_COORD_ARRAY));

    // One more than it holds, and a spinning one: drawn by the particle itself.
    Particle spinning;
    setUp(spinning);
    spinning.setRotation(90.0f);
    batch.add(spinning, 0.5f);
    batch.draw();
    EXPECT_EQ(spinning.getAngle(), 45.0f);
    GLw::restoreProjectionModelview();
    EXPECT_TRUE(noGLError());
}
