// The ghettoblaster scene drawn on the test context with the generated
// stereo and TV models and music the test writes.
#include "production/effects/EqualizerLeds.h"
#include "production/effects/GhettoblasterEffect.h"

#include "demosys/scene/MRVObject.h"
#include "tests/production/effects/SceneEffectHarness.h"
#include "tests/support/StdoutCapture.h"
#include "tools/mrvmodels/GhettoblasterModel.h"
#include "tools/mrvmodels/TvSetModel.h"

using namespace effecttest;

namespace {

const std::array<unsigned char, 4> RED{ 255, 0, 0, 255 }, GREEN{ 0, 255, 0, 255 }, BLUE{ 0, 0, 255, 255 },
    YELLOW{ 255, 255, 0, 255 }, WHITE{ 255, 255, 255, 255 };

class GhettoblasterEffectTest : public SceneEffectHarness
{
protected:
    void SetUp() override
    {
        SceneEffectHarness::SetUp();
        stereo = addScene("stereo", GhettoblasterModel::build());
        addScene("tv", TvSetModel::build());
        for (const char* shader : { "light", "texture", "average" })
            loadShader(shader);
        addTexture("floor", 4, 4, { 90, 90, 90, 255 });
        addTexture("t1", 4, 4, RED);
        addTexture("t2", 4, 4, GREEN);
        addTexture("t3", 4, 4, BLUE);
        addTexture("t4", 4, 4, YELLOW);
        addTexture("dot", 4, 4, WHITE);
        addBlob("greets", greetsMap(GreetingsDisplay::MAP_VALUES));
        trans = addFbo("trans", 32, 18);
        addFbo("mirror", 64, 36, true);
        addFbo("under", 64, 36);
        addPath("ghetto1anim", Vector<float, 3>(0.1f, 3.57f, -5.0f));
        addPath("ghettogreet1anim", Vector<float, 3>(0.0f, 30.0f, 60.0f));
    }

    // Every map value bright but for the three values of the pixel in
    // column r of row r.
    static std::vector<unsigned char> greetsMap(int size)
    {
        std::vector<unsigned char> map(static_cast<size_t>(size), 200);
        for (int r = 0; r < 8; ++r)
            for (int k = 0; k < 3; ++k)
            {
                const size_t at = static_cast<size_t>(r * GreetingsDisplay::ROW_VALUES + 3 * r + k);
                if (at < map.size())
                    map[at] = 0;
            }
        return map;
    }

    void attachStereo(GhettoblasterEffect& effect, const std::map<std::string, Keys>& keys = {})
    {
        attach(effect,
               { { "ghettoobj", "stereo" }, { "tvobj", "tv" }, { "ground_texture1", "floor" }, { "tape1", "t1" },
                 { "tape2", "t2" }, { "tape3", "t3" }, { "tape4", "t4" }, { "glow", "dot" },
                 { "greets_map", "greets" }, { "trans_buffer", "trans" }, { "mirror_image", "mirror" },
                 { "offscreen", "under" } },
               keys);
        ASSERT_TRUE(effect.isReady());
    }

    MRVScene* stereo = nullptr;
    FrameBufferObject* trans = nullptr;
};

} // namespace

TEST_F(GhettoblasterEffectTest, LedsLightOnePerThresholdTheBandSumExceeds)
{
    EXPECT_EQ(EqualizerLeds::litCount(0.0f), 0);
    EXPECT_EQ(EqualizerLeds::litCount(0.01f), 0) << "strictly greater";
    EXPECT_EQ(EqualizerLeds::litCount(0.0101f), 1);
    EXPECT_EQ(EqualizerLeds::litCount(1.65f), 7);
    EXPECT_EQ(EqualizerLeds::litCount(1.66f), 8);
    EXPECT_EQ(EqualizerLeds::litCount(2.6f), 9);
    EXPECT_EQ(EqualizerLeds::litCount(1000.0f), 10);
    EXPECT_EQ(EqualizerLeds::litCount(std::nanf("")), 0);

    GhettoblasterEffect effect;
    attachStereo(effect);
    // One band sum per band, carried by the band's first value.
    const float sums[8] = { 0.0f, 0.01f, 0.02f, 0.5f, 1.7f, 2.2f, 2.6f, 50.0f };
    const int expected[8] = { 0, 0, 1, 4, 8, 9, 9, 10 };
    std::vector<float> spectrum(64, 0.0f);
    for (int b = 0; b < 8; ++b)
        spectrum[static_cast<size_t>(8 * b)] = sums[b];

    // The ladder fills the window: 8 px per band, 6.4 px per LED.
    flatView(0.0f, 0.88f, 0.0f, 1.1f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    effect.drawEquilizer(spectrum.data());
    EXPECT_TRUE(noGLError());
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    for (int b = 0; b < 8; ++b)
    {
        EXPECT_EQ(effect.getLedsLit(b), expected[b]) << b;
        for (int led = 0; led < 10; ++led)
        {
            const auto p = pixel(static_cast<int>((0.11f * b + 0.05f) / 0.88f * 64.0f),
                                 static_cast<int>((0.11f * led + 0.05f) / 1.1f * 64.0f));
            std::array<int, 4> want{ 0, 0, 0, 0 };
            if (led < expected[b])
                want = led < 7 ? std::array<int, 4>{ 0, 242, 0, 255 }
                               : led == 7 ? std::array<int, 4>{ 242, 242, 0, 255 } : std::array<int, 4>{ 242, 0, 0, 255 };
            EXPECT_NEAR(p[0], want[0], 2) << "band " << b << " led " << led;
            EXPECT_NEAR(p[1], want[1], 2) << "band " << b << " led " << led;
            EXPECT_EQ(p[2], 0);
        }
    }
}

TEST_F(GhettoblasterEffectTest, EqualizerShowsBothChannelsWeightedByBand)
{
    playMusic("ghetto_tone.wav", 1.0, tone(3, 0.5), 500);
    GhettoblasterEffect effect;
    attachStereo(effect);
    effect.draw(500, 20);
    EXPECT_TRUE(noGLError());

    const std::vector<float> left = spectrum(0, 1), right = spectrum(1, 1);
    ASSERT_GT(left[3], 0.3f) << "the tone is heard";
    for (int i = 0; i < 64; ++i)
    {
        EXPECT_EQ(effect.getSpectrum().left()[i], left[static_cast<size_t>(i)]) << i;
        EXPECT_FLOAT_EQ(effect.getSpectrum().sum()[i],
                        (left[static_cast<size_t>(i)] + right[static_cast<size_t>(i)]) * (i + 1))
            << i;
    }
    // Band 0 holds the tone: (0.5 + 0.5) * 4 alone passes every threshold.
    EXPECT_EQ(effect.getLedsLit(0), 10);
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(effect.getLedsLit(b), EqualizerLeds::litCount(EqualizerLeds::bandSum(effect.getSpectrum().sum(), b))) << b;
}

TEST_F(GhettoblasterEffectTest, SilentMusicLightsNoLed)
{
    playMusic("ghetto_silence.wav", 1.0, silence, 500);
    GhettoblasterEffect effect;
    attachStereo(effect);
    effect.draw(500, 20);
    EXPECT_TRUE(noGLError());
    for (int b = 0; b < 8; ++b)
        EXPECT_EQ(effect.getLedsLit(b), 0) << b;
    EXPECT_EQ(*std::max_element(effect.getSpectrum().sum(), effect.getSpectrum().sum() + 64), 0.0f);
}

TEST_F(GhettoblasterEffectTest, CassetteChangesFrameEvery100Milliseconds)
{
    const std::vector<std::pair<unsigned int, int>> frames = { { 0, 4 },   { 99, 4 },  { 100, 3 }, { 150, 3 },
                                                               { 299, 2 }, { 300, 1 }, { 399, 1 }, { 400, 4 },
                                                               { 4250, 2 } };
    for (const auto& f : frames)
        EXPECT_EQ(GhettoblasterEffect::cassetteFrame(f.first), f.second) << f.first;

    GhettoblasterEffect effect;
    attachStereo(effect);
    // tape1 red, tape2 green, tape3 blue, tape4 yellow.
    const std::array<int, 4> colours[4] = { { 255, 0, 0, 255 }, { 0, 255, 0, 255 }, { 0, 0, 255, 255 },
                                            { 255, 255, 0, 255 } };
    for (unsigned int time : { 0u, 150u, 250u, 399u, 400u })
    {
        flatView(-0.6f, 0.6f, -0.4f, 0.4f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        effect.drawCasette(time);
        EXPECT_EQ(effect.getShownCassette(), GhettoblasterEffect::cassetteFrame(time));
        EXPECT_EQ(pixel(32, 32), colours[GhettoblasterEffect::cassetteFrame(time) - 1]) << time;
        EXPECT_EQ(pixel(1, 32), (std::array<int, 4>{ 0, 0, 0, 0 })) << "beside the cassette";
    }
    EXPECT_EQ(MRVDemosys::texturePool->getTexture("t1")->getWrapS(), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(MRVDemosys::texturePool->getTexture("t4")->getWrapT(), GL_CLAMP_TO_EDGE);
    EXPECT_TRUE(noGLError());
}

TEST_F(GhettoblasterEffectTest, GreetingsSwitchOnFromOneAndScrollInBothPasses)
{
    GhettoblasterEffect on;
    attachStereo(on, { { "greets.on", { { 0, 1.0f } } } });
    on.draw(0, 9);
    EXPECT_TRUE(on.getDisplay().isOn());
    EXPECT_FLOAT_EQ(on.getDisplay().getReadPosition(), 3.0f) << "1.5 floats in each of the two passes";
    EXPECT_EQ(on.getDisplay().getBrightDots(), 8) << "one dark map pixel per row, all in the window";

    GhettoblasterEffect off;
    attachStereo(off, { { "greets.on", { { 0, 0.99f } } } });
    for (unsigned int time : { 0u, 50u })
    {
        off.draw(time, 50);
        EXPECT_FALSE(off.getDisplay().isOn());
        EXPECT_EQ(off.getDisplay().getReadPosition(), 0.0f);
        EXPECT_EQ(off.getDisplay().getBrightDots(), 0);
    }
    EXPECT_TRUE(noGLError());
}

TEST_F(GhettoblasterEffectTest, ShortGreetingsMapLeavesTheEffectUndrawn)
{
    addBlob("short", greetsMap(GreetingsDisplay::MAP_VALUES - 1));
    GhettoblasterEffect effect;
    StdoutCapture out;
    attach(effect, { { "ghettoobj", "stereo" }, { "tvobj", "tv" }, { "ground_texture1", "floor" }, { "tape1", "t1" },
                     { "tape2", "t2" }, { "tape3", "t3" }, { "tape4", "t4" }, { "glow", "dot" },
                     { "greets_map", "short" }, { "trans_buffer", "trans" }, { "mirror_image", "mirror" },
                     { "offscreen", "under" } });
    EXPECT_NE(out.take().find("binary 'short' holds fewer than 45936 values"), std::string::npos);
    EXPECT_FALSE(effect.isReady());
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_EQ(pixel(CX, CY), (std::array<int, 4>{ 0, 0, 0, 0 }));
}

TEST_F(GhettoblasterEffectTest, TVFormationIsDrawnOnlyForRotationsFromZero)
{
    fill(trans, 1.0f, 0.0f, 1.0f);
    GhettoblasterEffect hidden;
    attachStereo(hidden, { { "tv.rot", { { 0, -0.5f } } } });
    hidden.draw(0, 20);
    EXPECT_EQ(hidden.getTVsDrawn(), 0);
    const auto without = pixel(CX, CY);

    startFrame();
    MRVDemosys::camera.reset();
    GhettoblasterEffect shown;
    attachStereo(shown, { { "tv.rot", { { 0, 0.0f } } } });
    shown.draw(0, 20);
    EXPECT_EQ(shown.getTVsDrawn(), 2 * 48) << "three rings of 16, mirrored and direct";
    // The first path looks straight at the screen of the set at angle 0.
    EXPECT_EQ(pixel(CX, CY), (std::array<int, 4>{ 255, 0, 255, 255 }));
    EXPECT_NE(without, (std::array<int, 4>{ 255, 0, 255, 255 }));
    EXPECT_TRUE(trans->hasClearFlag());
    EXPECT_TRUE(noGLError());
}

TEST_F(GhettoblasterEffectTest, AnimationIndexOfOneStillFliesTheFirstPath)
{
    for (const auto& choice : std::vector<std::pair<float, int>>{ { 1.0f, 1 }, { 1.0001f, 2 }, { -3.0f, 1 } })
    {
        MRVDemosys::camera.reset();
        startFrame();
        GhettoblasterEffect effect;
        attachStereo(effect, { { "anim.index", { { 0, choice.first } } } });
        effect.draw(0, 20);
        EXPECT_EQ(effect.getCameraPath(), choice.second) << choice.first;
        const Vector<float, 3> where = MRVDemosys::camera.getPosition();
        EXPECT_FLOAT_EQ(where[1], choice.second == 1 ? 3.57f : 30.0f) << choice.first;
    }
    EXPECT_TRUE(noGLError());
}

TEST_F(GhettoblasterEffectTest, InitFindsTheSceneAndDrawLeavesTheFrameStateBehind)
{
    GhettoblasterEffect effect;
    attachStereo(effect);
    EXPECT_EQ(effect.getTrackNames(),
              (std::vector<std::string>{ "anim.pos", "anim2.pos", "anim.index", "tv.rot", "equ.xpos", "equ.ypos",
                                         "equ.zpos", "tape.xpos", "tape.ypos", "tape.zpos", "greet.xpos",
                                         "greet.ypos", "greet.zpos", "greets.on" }));
    EXPECT_FALSE(stereo->getObjectByName("BassSphereLeft")->isVisible());
    EXPECT_FALSE(stereo->getObjectByName("BassSphereRight")->isVisible());
    EXPECT_TRUE(stereo->getObjectByName("Body")->isVisible());
    const Vector<float, 3> lo = stereo->getObjectByName("Plane")->getBBoxMin();
    const Vector<float, 3> hi = stereo->getObjectByName("Plane")->getBBoxMax();
    const float m = (lo[2] + hi[2]) * 0.5f;
    const float corners[12] = { lo[0], hi[1], m, lo[0], lo[1], m, hi[0], lo[1], m, hi[0], hi[1], m };
    EXPECT_EQ(std::vector<float>(effect.getDisplay().getPanel(), effect.getDisplay().getPanel() + 12),
              std::vector<float>(corners, corners + 12));
    EXPECT_TRUE((effect.getMaterial(0).getAmbient() == Vector<float, 3>(0.5f, 1.0f, 0.75f)));
    EXPECT_TRUE((effect.getMaterial(2).getDiffuse() == Vector<float, 3>(0.5f, 0.5f, 1.0f)));
    EXPECT_EQ(effect.getFloorRows(), 0);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    effect.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_TRUE(enabled(GL_CULL_FACE));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK) << "the mirrored pass culls front faces";
    EXPECT_FALSE(enabled(GL_LIGHTING));
    EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
    EXPECT_FALSE(enabled(GL_TEXTURE_2D)) << "the TV screens' picture is switched off again";
    glActiveTexture(GL_TEXTURE1);
    EXPECT_FALSE(enabled(GL_TEXTURE_2D)) << "the reflection's second unit is switched off again";
    glActiveTexture(GL_TEXTURE0);
    EXPECT_TRUE(MRVDemosys::fboPool->getFBO("mirror")->hasClearFlag());

    // The reflection's samplers sit on the units the blend binds.
    Shader* average = MRVDemosys::shaderPool->getShader("average");
    GLint unit = -1;
    glGetUniformiv(average->getProgramHandle(), glGetUniformLocation(average->getProgramHandle(), "destination"),
                   &unit);
    EXPECT_EQ(unit, 0);
    glGetUniformiv(average->getProgramHandle(), glGetUniformLocation(average->getProgramHandle(), "source"), &unit);
    EXPECT_EQ(unit, 1);

    // Sixty floor rows a pass, two passes a frame (the screen and the
    // reflection's second buffer); the count goes on from frame to frame.
    EXPECT_EQ(effect.getFloorRows(), 120);
    effect.draw(50, 20);
    EXPECT_EQ(effect.getFloorRows(), 240);
}
