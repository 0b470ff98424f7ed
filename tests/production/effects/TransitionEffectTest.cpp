// The cube, equalizer and banknote transitions drawn on the test context.
#include "production/effects/CubeTransitionEffect.h"
#include "production/effects/DollarTransitionEffect.h"
#include "production/effects/EqualizerLeds.h"
#include "production/effects/EqualizerTransitionEffect.h"

#include "tests/production/effects/SceneEffectHarness.h"
#include "tools/mrvmodels/CubeModel.h"

using namespace effecttest;

namespace {

class TransitionEffectTest : public SceneEffectHarness
{
protected:
    // Pixels of the 64 x 36 viewport (rows 14 to 49) of one colour.
    static int count(const std::array<int, 4>& colour)
    {
        const std::vector<unsigned char> p = GLTestContext::readPixels(0, 14, 64, 36);
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4)
            n += std::abs(p[i] - colour[0]) <= 2 && std::abs(p[i + 1] - colour[1]) <= 2 &&
                 std::abs(p[i + 2] - colour[2]) <= 2;
        return n;
    }

    // Pixels with some green and little red or blue.
    static int greenish()
    {
        const std::vector<unsigned char> p = GLTestContext::readPixels(0, 14, 64, 36);
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4)
            n += p[i + 1] > 100 && p[i] < 30 && p[i + 2] < 30;
        return n;
    }

    void cubeTransition(CubeTransitionEffect& effect, float rotation)
    {
        attach(effect, { { "buffer1", "one" }, { "buffer2", "two" } },
               { { "zpos", { { 0, -1.0f } } }, { "rot", { { 0, rotation } } } });
        ASSERT_TRUE(effect.isReady());
    }

    void equalizer(EqualizerTransitionEffect& effect, const std::map<std::string, std::string>& parameters = {})
    {
        // A second equalizer in one test shares the first one's pools.
        if (!MRVDemosys::objectPool->exists("cube"))
        {
            addScene("cube", CubeModel::build());
            addPath("equalizeranim", Vector<float, 3>(0.0f, 0.0f, 0.0f));
            addPath("equalizer2anim", Vector<float, 3>(0.0f, 0.0f, 500.0f));
        }
        attach(effect, parameters);
    }

    const std::array<int, 4> red{ 255, 0, 0, 255 };
    const std::array<int, 4> green{ 0, 255, 0, 255 };
    const std::array<int, 4> black{ 0, 0, 0, 0 };
};

} // namespace

TEST_F(TransitionEffectTest, CubeShowsTheFirstBufferAtRotationZero)
{
    fill(addFbo("one", 32, 18), 1, 0, 0);
    fill(addFbo("two", 32, 18), 0, 1, 0);
    CubeTransitionEffect effect;
    cubeTransition(effect, 0.0f);
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_EQ(pixel(CX, CY), red);
    EXPECT_EQ(count(green), 0);
    // The face is 2 wide at 2 units: half the view's width, the picture in
    // its middle 56 %, the border colour above and below.
    EXPECT_EQ(pixel(18, CY), red);
    EXPECT_EQ(pixel(13, CY), black) << "beside the face";
    EXPECT_EQ(pixel(CX, 45), black) << "the border above the picture";
    EXPECT_EQ(pixel(CX, 38), red);
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, MRVDemosys::fboPool->getFBO("one")->getColorBuffer()->getID());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(wrap, GL_CLAMP_TO_BORDER);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_TEXTURE_2D));
    EXPECT_TRUE(MRVDemosys::fboPool->getFBO("one")->hasClearFlag());
    EXPECT_TRUE(MRVDemosys::fboPool->getFBO("two")->hasClearFlag());
}

TEST_F(TransitionEffectTest, CubeTurnedBy90ShowsOnlyTheSecondBuffer)
{
    fill(addFbo("one", 32, 18), 1, 0, 0);
    fill(addFbo("two", 32, 18), 0, 1, 0);
    CubeTransitionEffect effect;
    cubeTransition(effect, 90.0f);
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_EQ(effect.getRotation(), 90.0f);
    EXPECT_EQ(pixel(CX, CY), green);
    EXPECT_EQ(count(red), 0);
}

TEST_F(TransitionEffectTest, CubeTurnedBy45ShowsBothFacesAlike)
{
    fill(addFbo("one", 32, 18), 1, 0, 0);
    fill(addFbo("two", 32, 18), 0, 1, 0);
    CubeTransitionEffect effect;
    cubeTransition(effect, 45.0f);
    effect.draw(0, 20);
    const int reds = count(red), greens = count(green);
    EXPECT_GT(reds, 50);
    EXPECT_LE(std::abs(reds - greens), reds / 10) << reds << " red, " << greens << " green";
    // The edge between the faces runs down the middle: red on the left.
    EXPECT_EQ(pixel(CX - 4, CY), red);
    EXPECT_EQ(pixel(CX + 4, CY), green);
}

TEST_F(TransitionEffectTest, SilentEqualizerDrawsNoCube)
{
    playMusic("equalizer_silence.wav", 1.0, silence, 300);
    EqualizerTransitionEffect effect;
    equalizer(effect);
    ASSERT_TRUE(effect.isReady());
    effect.draw(300, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_EQ(effect.getCubesDrawn(), 0);
    EXPECT_EQ(count(black), 64 * 36);
}

TEST_F(TransitionEffectTest, EqualizerBuildsColumnsOfCubesForKnownBandSums)
{
    playMusic("equalizer_tone.wav", 1.0, tone(3, 0.5), 300);
    EqualizerTransitionEffect effect;
    equalizer(effect);
    ASSERT_TRUE(effect.isReady());
    EXPECT_EQ(effect.getLedShader(), nullptr) << "the flat cubes unless a script names the LED shader";
    glEnable(GL_CULL_FACE);
    effect.draw(300, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_EQ(effect.getCameraPath(), 1);
    EXPECT_EQ(effect.getLedsLit(0), 10) << "the tone sits in band 0";
    int cubes = 0;
    for (int b = 0; b < 8; ++b)
    {
        EXPECT_EQ(effect.getLedsLit(b), EqualizerLeds::litCount(EqualizerLeds::bandSum(effect.getSum(), b)));
        cubes += effect.getLedsLit(b);
    }
    EXPECT_EQ(effect.getCubesDrawn(), cubes);
    // Band 0's column, from the camera at the origin: green cubes low on the
    // left, red at the top.
    EXPECT_GT(greenish(), 20);
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[14], -21.0f) << "the equalizer's placement stays on the matrix";
}

// The LED wall: every slot drawn, lit or dark, the same LEDs lit as the flat
// cubes light, and the floor's blending and fog put back.
TEST_F(TransitionEffectTest, LedWallDrawsEverySlotAndLightsWhatTheFlatCubesLight)
{
    playMusic("equalizer_wall.wav", 1.0, tone(3, 0.5), 300);
    loadShader("ledshader", "leds");
    EqualizerTransitionEffect effect;
    equalizer(effect, { { "ledshader", "ledshader" } });
    ASSERT_TRUE(effect.isReady());
    ASSERT_NE(effect.getLedShader(), nullptr);
    effect.draw(300, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_EQ(effect.getCubesDrawn(), EqualizerLeds::BANDS * EqualizerLeds::LEDS);
    EXPECT_EQ(effect.getLedsLit(0), 10) << "the tone sits in band 0";
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(effect.getLedsLit(b), EqualizerLeds::litCount(EqualizerLeds::bandSum(effect.getSum(), b)));
    EXPECT_GT(count(black), 0);
    EXPECT_LT(count(black), 64 * 36) << "the wall is drawn";
    EXPECT_EQ(integer(GL_CURRENT_PROGRAM), 0);
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_FOG));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(integer(GL_MODELVIEW_STACK_DEPTH), 1);

    // A script that names a shader the pool lacks gets the lookup's failure,
    // not the flat cubes.
    EqualizerTransitionEffect missing;
    equalizer(missing, { { "ledshader", "nowhere" } });
    EXPECT_FALSE(missing.isReady());
}

TEST_F(TransitionEffectTest, DollarWheelSpinsWithTheFrameTimeAndStandsStillWhenPaused)
{
    // A note green above its middle and blue below, so that turns show.
    std::vector<unsigned char> texels;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column)
            texels.insert(texels.end(), { 0, static_cast<unsigned char>(row < 4 ? 0 : 160),
                                          static_cast<unsigned char>(row < 4 ? 160 : 0), 255 });
    MRVDemosys::texturePool->addTexture("note", new Texture(8, 8, GL_TEXTURE_2D, GL_RGBA, GL_RGBA, texels.data()));
    DollarTransitionEffect effect;
    attach(effect, { { "dollar", "note" } });
    ASSERT_TRUE(effect.isReady());
    EXPECT_EQ(effect.getTrackCount(), 0);

    effect.draw(0, 0);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_FALSE(enabled(GL_DEPTH_TEST)) << "left off";
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(enabled(GL_TEXTURE_2D));
    // Ten notes 36 degrees apart, 4.7 long, cover the whole view; the last
    // one drawn lies along +x at spin 0.
    const std::vector<unsigned char> still = GLTestContext::readPixels(0, 14, 64, 36);
    int notes = 0;
    for (size_t i = 0; i < still.size(); i += 4)
        notes += still[i + 1] + still[i + 2] > 100;
    EXPECT_EQ(notes, 64 * 36);
    EXPECT_GT(pixel(CX + 30, CY)[1], 140) << "on the note's upper half";

    startFrame();
    effect.draw(50, 0);
    EXPECT_EQ(effect.getSpinAngle(), 0.0f);
    EXPECT_EQ(GLTestContext::readPixels(0, 14, 64, 36), still);

    // 180 ms turn the wheel by 18 degrees: the point now lies on the lower
    // half of the top note.
    startFrame();
    effect.draw(100, 180);
    EXPECT_FLOAT_EQ(effect.getSpinAngle(), 18.0f);
    startFrame();
    effect.draw(150, 0);
    EXPECT_GT(pixel(CX + 30, CY)[2], 140);
    EXPECT_TRUE(noGLError());
}

TEST_F(TransitionEffectTest, DollarWheelMovesByItsOffsetCurveOnlyInsideTheWindow)
{
    addTexture("note", 8, 8, { 40, 160, 40, 255 });
    DollarTransitionEffect effect;
    attach(effect, { { "dollar", "note" } });
    effect.getOffsetCurve().setTime(MRVTime(0, 1, 0), MRVTime(0, 2, 0));
    effect.getOffsetCurve().setVectors(Vector<float, 3>(0, 0, -50), Vector<float, 3>(0, 0, -50));
    effect.draw(500, 0);
    const std::vector<unsigned char> home = GLTestContext::readPixels(0, 14, 64, 36);
    startFrame();
    effect.draw(1500, 0);
    // Far down the view axis the wheel shrinks round the middle.
    EXPECT_EQ(pixel(2, CY), black);
    EXPECT_NE(GLTestContext::readPixels(0, 14, 64, 36), home);
    EXPECT_TRUE(noGLError());
}
