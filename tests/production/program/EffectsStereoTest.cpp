// The ghettoblaster scene in a running production: generated models, music
// the test writes, and the camera held where the part under test is seen.
#include "tests/production/program/SceneProduction.h"

using effecttest::near;
using effecttest::Rgb;
using effecttest::SceneProduction;

namespace {

// 128 x 72 windows: the viewport fills them.
constexpr int CX = 64;
constexpr int CY = 36;

// The stereo's display stands at depth 1.46, and the effect draws its
// equalizer, cassette and display 0.01 in front of that, lifted by as much.
constexpr float BASE = 1.47f;

class EffectsStereoTest : public SceneProduction
{
protected:
    // The scene with a magenta picture on the TV screens; `tracks` are the
    // stereo's own tracks in timeline syntax.
    void stereo(const std::string& tracks)
    {
        models();
        plain("floor.png", { 90, 90, 90 });
        plain("red.png", { 255, 0, 0 });
        plain("green.png", { 0, 255, 0 });
        plain("blue.png", { 0, 0, 255 });
        plain("yellow.png", { 255, 255, 0 });
        plain("white.png", { 255, 255, 255 });
        plain("magenta.png", { 255, 0, 255 });
        blob("greets.bin", std::vector<unsigned char>(45936, 200));
        blocks = "shaders { light = light; texture = texture; average = average; }\n"
                 "framebuffers { trans = 64, 36, COLOR_BUFFER; mirror = 128, 72, COLOR_BUFFER, DEPTH_BUFFER; "
                 "under = 128, 72, COLOR_BUFFER; }\n"
                 "objects { stereo = ghettoblaster.o3d; tv = tvset.o3d; }\n"
                 "graphics { floor = floor.png; t1 = red.png; t2 = green.png; t3 = blue.png; t4 = yellow.png; "
                 "dot = white.png; magenta = magenta.png; }\n"
                 "binary { greets = greets.bin; }\n"
                 "animation { ghetto1anim = first.ani; ghettogreet1anim = second.ani; }\n"
                 "tvpicture * DisplayTexture { texture = graphics[magenta]; }\n"
                 "blaster * GhettoblasterEffect { ghettoobj = objects[stereo]; tvobj = objects[tv]; "
                 "ground_texture1 = graphics[floor]; tape1 = graphics[t1]; tape2 = graphics[t2]; "
                 "tape3 = graphics[t3]; tape4 = graphics[t4]; glow = graphics[dot]; greets_map = binary[greets]; "
                 "trans_buffer = framebuffers[trans]; mirror_image = framebuffers[mirror]; "
                 "offscreen = framebuffers[under]; }\n";
        timeline = "object tvpicture\npriority 0\non 0 1000 trans\n"
                   "object blaster\npriority 1\non 0 1000\n" +
                   tracks;
    }

    static bool green(const Rgb& c) { return c[1] > 200 && c[0] < 40 && c[2] < 40; }
    static bool red(const Rgb& c) { return c[0] > 200 && c[1] < 40 && c[2] < 40; }
};

} // namespace

TEST_F(EffectsStereoTest, EqualizerLightsWithTheMusicAndStaysDarkInSilence)
{
    // Silence for a second, then a tone in band 0 of the equalizer.
    music(2.0, toneFrom(1.0, 3, 0.5));
    // The ladder's bottom left corner at (-2.5, 2.2), seen from 1.2 in front.
    path("first.ani", -2.06f, 2.75f, BASE + 0.02f + 1.2f);
    path("second.ani", 0.0f, 30.0f, 60.0f);
    stereo("track equ.xpos\n0 step -2.5\ntrack equ.ypos\n0 step " + std::to_string(2.2f - BASE) +
           "\ntrack equ.zpos\n0 step 0.02\n");
    const ProgramRun run = playMusic(26);
    ASSERT_TRUE(clean(run));

    // Band 0, the bottom LED and the top one: (-2.45, 2.25) and (-2.45, 3.24).
    const int x = 43, bottom = 9, top = 62;
    const auto quiet = frame(5), loud = frame(25);
    EXPECT_FALSE(green(quiet->at(x, bottom))) << "nothing lights in silence";
    EXPECT_FALSE(red(quiet->at(x, top)));
    EXPECT_TRUE(green(loud->at(x, bottom)));
    EXPECT_TRUE(red(loud->at(x, top))) << "a band sum of 4 lights all ten";
    int lit = 0;
    for (int y = 0; y < 72; ++y)
        for (int px = 0; px < 128; ++px)
            lit += green(quiet->at(px, y));
    EXPECT_EQ(lit, 0);
}

TEST_F(EffectsStereoTest, TVSetsShowTheirPictureOnlyFromRotationZero)
{
    music(1.0, toneFrom(0.0, 3, 0.0));
    path("first.ani", 0.0f, 30.0f, 60.0f);
    // Inside the ring, facing the screen of the set at angle 0.
    path("second.ani", 0.1f, 2.1f + BASE, -5.0f);
    stereo("track anim.index\n0 step 2\ntrack tv.rot\n0 step -0.5\n4 step 0\n");
    const ProgramRun run = playMusic(7);
    ASSERT_TRUE(clean(run));
    EXPECT_FALSE(near(frame(2)->at(CX, CY), { 255, 0, 255 }, 10)) << "rotation -0.5: no sets";
    EXPECT_TRUE(near(frame(6)->at(CX, CY), { 255, 0, 255 }, 2));
    EXPECT_TRUE(near(frame(6)->at(CX + 12, CY + 6), { 255, 0, 255 }, 2)) << "the screen fills the middle";
}

TEST_F(EffectsStereoTest, CassetteTurnsOneFrameEvery100Milliseconds)
{
    music(1.0, toneFrom(0.0, 3, 0.0));
    path("first.ani", 1.5f, 3.5f, BASE + 0.02f + 1.0f);
    path("second.ani", 0.0f, 30.0f, 60.0f);
    stereo("track tape.xpos\n0 step 1.5\ntrack tape.ypos\n0 step " + std::to_string(3.5f - BASE) +
           "\ntrack tape.zpos\n0 step 0.02\n");
    const ProgramRun run = playMusic(8);
    ASSERT_TRUE(clean(run));
    // 50 ms a frame: tape4, tape3, tape2, tape1, two frames each.
    const Rgb expected[4] = { { 255, 255, 0 }, { 0, 0, 255 }, { 0, 255, 0 }, { 255, 0, 0 } };
    for (int k = 0; k < 8; ++k)
        EXPECT_TRUE(near(frame(k)->at(CX, CY), expected[k / 2])) << "frame " << k;
}
