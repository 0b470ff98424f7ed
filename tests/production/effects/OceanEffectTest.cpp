// The sea and its effect on the test context: the plane as generated, the
// scroll offset and its one-row shifts inside the vertex buffer, and the
// passes and state of the effect.
#include "production/effects/Ocean.h"
#include "production/effects/OceanEffect.h"

#include "demosys/gl/VBODynamic.h"
#include "mrvutils/PerlinNoise.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/StdoutCapture.h"

using namespace effecttest;

namespace {

constexpr int N = 64;

std::vector<float> positions(Ocean& ocean)
{
    std::vector<float> out(N * N * 3);
    glBindBuffer(GL_ARRAY_BUFFER, ocean.getVertexBuffer()->getVertexBuffer());
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(out.size() * sizeof(float)), out.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return out;
}

size_t vertex(int row, int column)
{
    return static_cast<size_t>(row * N + column) * 3;
}

class OceanEffectTest : public EffectHarness
{
protected:
    std::unique_ptr<Ocean> makeOcean()
    {
        StdoutCapture quiet;
        return std::unique_ptr<Ocean>(new Ocean(3.0f, 20.0f, N));
    }

    // The generator the sea samples, kept apart from the sea's own.
    PerlinNoise waves{ 0.5f, 0.025f, 0.5f, 3 };
};

} // namespace

TEST_F(OceanEffectTest, PlaneRowsSampleOneNoiseRowEach)
{
    auto ocean = makeOcean();
    EXPECT_EQ(ocean->getNoiseRow(), N);
    const auto xyz = positions(*ocean);
    for (int r : { 0, 1, 63 })
        for (int c : { 0, 5, 63 })
        {
            EXPECT_FLOAT_EQ(xyz[vertex(r, c)], -1.5f + c * 3.0f / N);
            EXPECT_FLOAT_EQ(xyz[vertex(r, c) + 1], -waves.getValue(float(c), float(r)));
            EXPECT_FLOAT_EQ(xyz[vertex(r, c) + 2], -r * 20.0f / N);
        }
    // Heights are clamped to 0.5: flat troughs.
    float lowest = 0.0f;
    for (int i = 0; i < N * N; ++i)
        lowest = std::min(lowest, xyz[i * 3 + 1]);
    EXPECT_GE(lowest, -0.5f);
}

TEST_F(OceanEffectTest, OffsetRunsBySpeedAndShiftsOneRowPerWrap)
{
    auto ocean = makeOcean();
    const auto before = positions(*ocean);
    // 20 ms frames: 0.1 per frame, wrapping at 0.3125 with one shift.
    const float offsets[] = { 0.1f, 0.2f, 0.3f, 0.0875f };
    for (int frame = 0; frame < 4; ++frame)
    {
        ocean->move(frame * 20, 20);
        EXPECT_NEAR(ocean->getTranslated(), offsets[frame], 1e-5) << frame;
        EXPECT_EQ(ocean->getNoiseRow(), frame < 3 ? N : N + 1) << frame;
    }
    const auto shifted = positions(*ocean);
    for (int r : { 0, 30, 62 })
        for (int c : { 0, 40 })
        {
            EXPECT_EQ(shifted[vertex(r, c)], before[vertex(r + 1, c)]);
            EXPECT_EQ(shifted[vertex(r, c) + 1], before[vertex(r + 1, c) + 1]) << "heights move a row forward";
            EXPECT_EQ(shifted[vertex(r, c) + 2], before[vertex(r, c) + 2]) << "depths stay";
        }
    for (int c : { 0, 17, 63 })
    {
        EXPECT_FLOAT_EQ(shifted[vertex(63, c)], -1.5f + c * 3.0f / N);
        EXPECT_FLOAT_EQ(shifted[vertex(63, c) + 1], -waves.getValue(float(c), float(N)));
        EXPECT_FLOAT_EQ(shifted[vertex(63, c) + 2], -20.0f) << "the new back row lies at the full depth";
    }

    // 200 ms is more than three rows, but shifts one; the rest carries on.
    ocean->move(100, 200);
    EXPECT_NEAR(ocean->getTranslated(), 0.15f, 1e-5);
    EXPECT_EQ(ocean->getNoiseRow(), N + 2);
    // A paused clock stops the sea.
    ocean->move(100, 0);
    EXPECT_NEAR(ocean->getTranslated(), 0.15f, 1e-5);
    EXPECT_EQ(ocean->getNoiseRow(), N + 2);
    EXPECT_TRUE(noGLError());
}

TEST_F(OceanEffectTest, EffectDrawsItsPassesAndLeavesDepthOnCullingOffAndTheLeafTransform)
{
    loadShader("ocean_surface");
    loadShader("texture");
    loadShader("depth_of_field");
    loadShader("blurx");
    loadShader("blury");
    FrameBufferObject* aux1 = addFbo("aux1", 64, 36, true);
    FrameBufferObject* bx = addFbo("bx", 32, 18);
    FrameBufferObject* by = addFbo("by", 32, 18);
    FrameBufferObject* noise = addFbo("noise", 32, 32);
    fill(noise, 0.5f, 0.5f, 0.5f);
    addTexture("beach", 8, 8, { 200, 180, 60, 0 });
    addTexture("sky", 8, 8, { 120, 160, 255, 255 });
    addTexture("leaf1", 8, 8, { 0, 255, 0, 0 });
    addTexture("leaf2", 8, 8, { 0, 255, 0, 0 });
    OceanEffect effect;
    {
        StdoutCapture quiet;
        attach(effect, { { "beach", "beach" }, { "reflection", "sky" }, { "leaf1", "leaf1" }, { "leaf2", "leaf2" },
                         { "blurx_shader", "blurx" }, { "blury_shader", "blury" }, { "blurx_fbo", "bx" },
                         { "blury_fbo", "by" } });
    }
    ASSERT_NE(effect.getOcean(), nullptr);
    EXPECT_EQ(effect.getTrackCount(), 0);
    EXPECT_EQ(bx->getColorBuffer()->getWrapS(), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(by->getColorBuffer()->getWrapT(), GL_CLAMP_TO_EDGE);

    effect.draw(1000, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_EQ(noise->getColorBuffer()->getWrapS(), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(noise->getColorBuffer()->getWrapT(), GL_REPEAT);
    EXPECT_TRUE(aux1->hasClearFlag());
    EXPECT_FALSE(bx->hasClearFlag());
    EXPECT_NEAR(effect.getSurfaceOffset(), 0.1f / 20.0f, 1e-6);
    EXPECT_FLOAT_EQ(effect.getLeafNoisePosition(), 31.25f);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_ALPHA_TEST));
    EXPECT_FALSE(enabled(GL_LIGHTING));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(integer(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_TRUE(FrameBufferObject::fboStack.empty());
    // The model-view still holds leaf 2's placement.
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], effect.getLeafAngle() / 10.0f, 1e-5);
    EXPECT_NEAR(m[13], 2.28f, 1e-5);

    // The sea shaded into aux1 reaches the screen through the depth of
    // field: below the horizon the picture is water-coloured, not black.
    const auto water = pixel(CX, 24);
    EXPECT_GT(water[0] + water[1] + water[2], 30);
    EXPECT_GE(water[2], water[0]) << "blue sky and deep water";

    // Frame time 0: the sea and the leaves hold still.
    const float offset = effect.getSurfaceOffset();
    startFrame();
    effect.draw(1000, 0);
    EXPECT_EQ(effect.getSurfaceOffset(), offset);
    EXPECT_TRUE(noGLError());
}
