// The pixel carpet drawn on the test context: its buffer, its columns under
// known music, and its stars.
#include "production/effects/PixelCarpetEffect.h"

#include "demosys/gl/VBODynamic.h"
#include "tests/production/effects/SceneEffectHarness.h"
#include "tools/mrvmodels/CubeModel.h"

using namespace effecttest;

namespace {

class PixelCarpetEffectTest : public SceneEffectHarness
{
protected:
    void SetUp() override
    {
        SceneEffectHarness::SetUp();
        addScene("box", CubeModel::build());
        loadShader("meters", "vmeters");
        addTexture("logo", 4, 4, { 200, 200, 255, 255 });
        addTexture("pattern", 4, 4, { 255, 255, 255, 255 });
        addTexture("star", 4, 4, { 255, 255, 255, 255 });
        addPath("pixelcarpetanim", Vector<float, 3>(0.0f, 0.0f, 0.0f));
        addPath("pixelcarpet2anim", Vector<float, 3>(0.0f, 0.0f, 100.0f));
    }

    void attachCarpet(PixelCarpetEffect& effect)
    {
        attach(effect, { { "cube", "box" }, { "mrvlogo", "logo" }, { "vmeters", "meters" },
                         { "particletex", "pattern" }, { "particlelight", "star" } });
        ASSERT_TRUE(effect.isReady());
    }

    // The carpet buffer's vertex positions, read back from the GL.
    static std::vector<float> vertices(PixelCarpetEffect& effect)
    {
        VBODynamic* carpet = effect.getCarpet();
        carpet->openVertexBuffer(GL_READ_ONLY);
        std::vector<float> out(carpet->getVertexPointer(), carpet->getVertexPointer() + 2048 * 3);
        carpet->closeVertexBuffer();
        return out;
    }

    static float height(PixelCarpetEffect& effect, int r, int c) { return effect.getHeights()[16 * r + c]; }

    // Every column of the carpet and the four top vertices of each agree.
    static void expectTopsFollowHeights(PixelCarpetEffect& effect)
    {
        const std::vector<float> v = vertices(effect);
        for (int r = 0; r < 16; ++r)
            for (int c = 0; c < 16; ++c)
            {
                const int d = 2 * (64 * r + 2 * c);
                for (int top : { d + 1, d + 3, d + 65, d + 67 })
                    ASSERT_EQ(v[static_cast<size_t>(3 * top + 2)], height(effect, r, c)) << r << ", " << c;
                for (int base : { d, d + 2, d + 64, d + 66 })
                    ASSERT_EQ(v[static_cast<size_t>(3 * base + 2)], 0.0f);
            }
    }
};

} // namespace

TEST_F(PixelCarpetEffectTest, CarpetBufferHoldsOneFaceOfColumns)
{
    PixelCarpetEffect effect;
    attachCarpet(effect);
    VBODynamic* carpet = effect.getCarpet();
    EXPECT_EQ(carpet->getVertexCount(), 2048u);
    EXPECT_EQ(carpet->getPolygonCount(), 1280u);
    EXPECT_EQ(carpet->getPolygonSize(), 4u);
    EXPECT_EQ(carpet->getColorSize() + carpet->getNormalSize() + carpet->getUVSize(), 0u);

    const std::vector<float> v = vertices(effect);
    auto at = [&](int index) { return std::vector<float>(v.begin() + 3 * index, v.begin() + 3 * index + 3); };
    EXPECT_EQ(at(0), (std::vector<float>{ -160, 160, 0 }));
    EXPECT_EQ(at(1), (std::vector<float>{ -160, 160, 5 }));
    EXPECT_EQ(at(2 * (32 * 3 + 7)), (std::vector<float>{ -90, 130, 0 }));
    EXPECT_EQ(at(2047), (std::vector<float>{ 150, -150, 5 }));

    carpet->openPolygonBuffer(GL_READ_ONLY);
    const unsigned int* q = carpet->getPolygonPointer();
    const std::vector<unsigned int> first(q, q + 20);
    // Column (15, 15): its base vertex is that of grid point (30, 30).
    const std::vector<unsigned int> last(q + 20 * 255, q + 20 * 256);
    carpet->closePolygonBuffer();
    EXPECT_EQ(first, (std::vector<unsigned int>{ 0, 1, 3, 2, 0, 64, 65, 1, 2, 3, 67, 66, 64, 66, 67, 65, 1, 65, 67,
                                                 3 }));
    const unsigned int d = 2 * (32 * 30 + 30);
    EXPECT_EQ(std::vector<unsigned int>(last.end() - 4, last.end()),
              (std::vector<unsigned int>{ d + 1, d + 65, d + 67, d + 3 }));
    EXPECT_TRUE(noGLError());
}

TEST_F(PixelCarpetEffectTest, SilenceLiftsEveryColumnTo20AndHoldsItThere)
{
    playMusic("carpet_silence.wav", 1.0, silence, 200);
    PixelCarpetEffect effect;
    attachCarpet(effect);
    EXPECT_EQ(height(effect, 0, 0), 0.5f);
    for (unsigned int time : { 200u, 250u, 300u })
    {
        effect.draw(time, 50);
        for (int k = 0; k < 256; ++k)
            ASSERT_EQ(effect.getHeights()[k], 20.0f) << time << ": " << k;
    }
    expectTopsFollowHeights(effect);
    EXPECT_TRUE(noGLError());
}

TEST_F(PixelCarpetEffectTest, ALoudLeftBandRaisesWholeRowsAndTheyDecayBy2)
{
    // Band 5 on the left for the first half second, then silence.
    auto loud = tone(5, 0.5, true, false);
    playMusic("carpet_left.wav", 1.5, [&](int channel, int64_t frame) {
        return frame < RATE / 2 ? loud(channel, frame) : 0.0f;
    }, 250);
    PixelCarpetEffect effect;
    attachCarpet(effect);
    effect.draw(250, 50);
    const std::vector<float> left = spectrum(0, 2);
    ASSERT_GT(left[5], 0.3f) << "the tone is heard";

    // An outer sum with a silent right channel: a row is one height.
    for (int r = 0; r < 16; ++r)
        for (int c = 1; c < 16; ++c)
            ASSERT_EQ(height(effect, r, c), height(effect, r, 0)) << r << ", " << c;
    // Rows 4 and 5 both read bin 5: (3 + ...) * 40 is capped at 80.
    EXPECT_EQ(height(effect, 4, 0), 80.0f);
    EXPECT_EQ(height(effect, 5, 0), 80.0f);
    // Far from the tone only the window's faint leakage is left.
    for (int r = 9; r < 16; ++r)
        EXPECT_NEAR(height(effect, r, 0), 20.0f, 0.05f) << r;
    expectTopsFollowHeights(effect);

    timer->setTime(1000);
    for (float expected : { 78.0f, 76.0f, 74.0f })
    {
        effect.draw(1000, 50);
        EXPECT_EQ(height(effect, 4, 7), expected);
        EXPECT_NEAR(height(effect, 12, 7), 20.0f, 0.05f);
    }
    EXPECT_TRUE(noGLError());
}

TEST_F(PixelCarpetEffectTest, ALoudRightBandRaisesWholeColumns)
{
    playMusic("carpet_right.wav", 1.0, tone(9, 0.5, false, true), 250);
    PixelCarpetEffect effect;
    attachCarpet(effect);
    effect.draw(250, 50);
    for (int c = 0; c < 16; ++c)
        for (int r = 1; r < 16; ++r)
            ASSERT_EQ(height(effect, r, c), height(effect, 0, c)) << r << ", " << c;
    EXPECT_EQ(height(effect, 0, 8), 80.0f);
    EXPECT_EQ(height(effect, 0, 9), 80.0f);
    EXPECT_NEAR(height(effect, 0, 0), 20.0f, 0.05f);
    EXPECT_TRUE(noGLError());
}

TEST_F(PixelCarpetEffectTest, StarsStartWhiteAndComeBackMagentaWhenTheyPassTheViewer)
{
    PixelCarpetEffect effect;
    attachCarpet(effect);
    ASSERT_EQ(effect.getStars().size(), 1000u);
    for (const Particle& star : effect.getStars())
    {
        const Vector<float, 3> p = star.getPosition();
        ASSERT_TRUE(p[0] >= -10.0f && p[0] < 30.0f && p[1] >= -10.0f && p[1] < 10.0f && p[2] >= -30.0f &&
                    p[2] < -1.0f);
        ASSERT_TRUE(star.getSize() >= 0.001f && star.getSize() < 0.1f);
        ASSERT_EQ(star.getColor()[1], 1.0f) << "white";
        // Towards the viewer, faster for bigger stars.
        ASSERT_FLOAT_EQ(star.getDirection()[2], (star.getSize() / 10.0f + 0.02f) * 100.0f);
    }

    // 20 s carries every star past z = -0.9: all are respawned this frame.
    effect.draw(0, 20000);
    for (const Particle& star : effect.getStars())
    {
        const Vector<float, 3> p = star.getPosition();
        ASSERT_TRUE(p[0] >= -30.0f && p[0] < 30.0f && p[1] >= -20.0f && p[1] < 20.0f && p[2] >= -30.0f &&
                    p[2] < -1.0f);
        ASSERT_FALSE(star.isDead());
        ASSERT_EQ(star.getColor()[0], 1.0f);
        ASSERT_EQ(star.getColor()[1], 0.0f) << "magenta";
    }
    EXPECT_TRUE(noGLError());
}

TEST_F(PixelCarpetEffectTest, PausedClockStopsCubeTextureAndStars)
{
    PixelCarpetEffect effect;
    attachCarpet(effect);
    std::vector<Vector<float, 3>> before;
    for (const Particle& star : effect.getStars())
        before.push_back(star.getPosition());
    effect.draw(0, 0);
    effect.draw(0, 0);
    EXPECT_EQ(effect.getTumbleAngle(), 0.0f);
    EXPECT_EQ(effect.getTextureAngle(), 0.0f);
    for (size_t i = 0; i < before.size(); ++i)
        ASSERT_TRUE(effect.getStars()[i].getPosition() == before[i]) << i;
    effect.draw(50, 30);
    EXPECT_FLOAT_EQ(effect.getTumbleAngle(), 3.0f);
    EXPECT_FLOAT_EQ(effect.getTextureAngle(), 3.0f);
    EXPECT_TRUE(noGLError());
}

TEST_F(PixelCarpetEffectTest, DrawShowsTheCubeAndLeavesItsPlacementOnTheMatrix)
{
    PixelCarpetEffect effect;
    attachCarpet(effect);
    glEnable(GL_BLEND);
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_EQ(effect.getCameraPath(), 1);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(integer(GL_TEXTURE_STACK_DEPTH), 1);
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    // Camera at the origin: the cube's front face, 280 away, fills the
    // middle of the view with the carpet's meter colours.
    const auto middle = pixel(CX, CY);
    EXPECT_GT(middle[0] + middle[1], 100);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[14], -450.0f + 170.0f) << "translate, turn (by 0), translate: not undone";
}
