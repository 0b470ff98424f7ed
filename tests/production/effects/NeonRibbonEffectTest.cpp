// The unregistered neon ribbons, built and drawn directly.
#include "production/effects/NeonRibbon.h"
#include "production/effects/NeonRibbonEffect.h"

#include "mrvutils/PerlinNoise.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

using namespace effecttest;

namespace {

class NeonRibbonEffectTest : public EffectHarness
{
protected:
    void SetUp() override
    {
        EffectHarness::SetUp();
        addTexture("checker", 8, 8, { 60, 60, 60, 255 });
        StdoutCapture quiet;
        attach(effect, { { "checkerfloor", "checker" } });
    }

    int litPixels() const
    {
        int lit = 0;
        const auto all = GLTestContext::readPixels(0, 0, 64, 64);
        for (size_t i = 0; i < all.size(); i += 4)
            lit += all[i] > 200 && all[i + 1] > 200 && all[i + 2] > 200;
        return lit;
    }

    NeonRibbonEffect effect;
};

} // namespace

TEST_F(NeonRibbonEffectTest, VertexPairsJoinIntoOnePolylineAlongTheNoisePath)
{
    NeonRibbon* first = effect.getRibbon(0);
    NeonRibbon* second = effect.getRibbon(1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->getPointCount(), 10000);
    EXPECT_EQ(first->getCameraSpin(), 10.0f);

    // Vertex i is path point (i + 1) / 2: 0, 1, 1, 2, 2, ...
    PerlinNoise path(1.0f, 1.0f / 512.0f, 0.5f, 4);
    for (int i : { 0, 1, 2, 3, 4, 9999 })
    {
        const float k = static_cast<float>((i + 1) / 2);
        const float* v = first->getVertex(i);
        EXPECT_FLOAT_EQ(v[0], path.getValue(k) * 40.0f - 1.0f) << i;
        EXPECT_FLOAT_EQ(v[1], path.getValue(k, k) * 40.0f - 1.0f) << i;
        EXPECT_FLOAT_EQ(v[2], path.getValue(k, k, k) * 40.0f - 1.0f) << i;
    }
    EXPECT_EQ(first->getVertex(1)[0], first->getVertex(2)[0]);
    EXPECT_EQ(first->getVertex(7)[2], first->getVertex(8)[2]);
    EXPECT_FLOAT_EQ(second->getVertex(5)[1], path.getValue(3.0f, 3.0f) * 41.0f - 1.0f) << "the second is wider";
}

TEST_F(NeonRibbonEffectTest, WithoutAProgressCurveNothingIsDrawn)
{
    effect.draw(1000, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_EQ(litPixels(), 0);
    EXPECT_EQ(effect.getRibbon(0)->getCameraSpin(), 10.0f) << "the camera did not move";
}

TEST_F(NeonRibbonEffectTest, ProgressCurveDrawsThatManyVerticesWithTheCameraRidingThem)
{
    // 0 to 10000 vertices over ten seconds.
    effect.getProgress().setTime(MRVTime(0u), MRVTime(10000u));
    effect.getProgress().setValues(0.0f, 10000.0f);
    effect.draw(5000, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_FLOAT_EQ(effect.getRibbon(0)->getCameraSpin(), 11.0f) << "20 ms at 0.05 degrees per ms";
    EXPECT_EQ(effect.getRibbon(1)->getCameraSpin(), 10.0f) << "only the first carries the camera";
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
    float width = 0.0f;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 1.0f);
    EXPECT_GT(litPixels(), 0) << "white lines in view";

    // A curve beyond the ribbon's end keeps the camera on its last vertex.
    effect.getProgress().setValues(20000.0f, 30000.0f);
    startFrame();
    effect.draw(5000, 20);
    EXPECT_TRUE(noGLError());
    effect.getProgress().setValues(-50.0f, -10.0f);
    startFrame();
    effect.draw(5000, 20);
    EXPECT_TRUE(noGLError());
}
