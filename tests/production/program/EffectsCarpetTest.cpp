// The spectrum-driven scenes in a running production: the pixel carpet and
// the equalizer transition, first in silence, then with a tone.
#include "tests/production/program/SceneProduction.h"

using effecttest::Frame;
using effecttest::Rgb;
using effecttest::SceneProduction;

namespace {

class EffectsCarpetTest : public SceneProduction
{
protected:
    // Pixels whose red clearly leads: the carpet's tall columns.
    static int reddish(const Frame& shot)
    {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
            {
                const Rgb c = shot.at(x, y);
                n += c[0] > 120 && c[0] > c[1] + 60;
            }
        return n;
    }

    static int greenish(const Frame& shot)
    {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
            {
                const Rgb c = shot.at(x, y);
                n += c[1] > 150 && c[0] < 40 && c[2] < 40;
            }
        return n;
    }

    static int dark(const Frame& shot)
    {
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.at(x, y) == Rgb{ 0, 0, 0 };
        return n;
    }
};

} // namespace

TEST_F(EffectsCarpetTest, CarpetColumnsStandLowInSilenceAndTallWithATone)
{
    models();
    music(2.0, toneFrom(1.0, 5, 0.5));
    path("near.ani", 0.0f, 0.0f, 0.0f);
    path("far.ani", 0.0f, 0.0f, 300.0f);
    plain("logo.png", { 60, 60, 120 });
    plain("pattern.png", { 255, 255, 255 });
    plain("star.png", { 255, 255, 255 });
    blocks = "shaders { vmeters = vmeters; }\n"
             "objects { box = cube.o3d; }\n"
             "graphics { logo = logo.png; pattern = pattern.png; star = star.png; }\n"
             "animation { pixelcarpetanim = near.ani; pixelcarpet2anim = far.ani; }\n"
             "carpet * PixelCarpetEffect { cube = objects[box]; mrvlogo = graphics[logo]; "
             "vmeters = shaders[vmeters]; particletex = graphics[pattern]; particlelight = graphics[star]; }\n";
    timeline = "object carpet\non 0 1000\n";
    const ProgramRun run = playMusic(26);
    ASSERT_TRUE(clean(run));
    // In silence every column stands at 20 of 80 (green to yellow); with the
    // tone rows and columns 4 and 5 go to full height, red at the top.
    const int quiet = reddish(*frame(15)), loud = reddish(*frame(25));
    EXPECT_GT(loud, quiet + 50) << quiet << " red pixels in silence, " << loud << " with the tone";
    EXPECT_LT(dark(*frame(15)), 128 * 72 / 2) << "the cube fills the middle of the view";
}

TEST_F(EffectsCarpetTest, EqualizerTransitionBuildsCubesOnlyForSound)
{
    models();
    music(2.0, toneFrom(1.0, 3, 0.5));
    path("near.ani", 0.0f, 0.0f, 0.0f);
    path("far.ani", 0.0f, 0.0f, 300.0f);
    blocks = "objects { cube = cube.o3d; }\n"
             "animation { equalizeranim = near.ani; equalizer2anim = far.ani; }\n"
             "leds * EqualizerTransitionEffect { ; }\n";
    timeline = "object leds\non 0 1000\n";
    const ProgramRun run = playMusic(26);
    ASSERT_TRUE(clean(run));
    EXPECT_EQ(dark(*frame(10)), 128 * 72) << "silence: not one cube";
    // A tone in band 0: its column of ten on the left, green at the foot
    // and red at the top.
    for (int k : { 24, 25 })
    {
        const auto loud = frame(k);
        EXPECT_GT(greenish(*loud), 100);
        const Rgb foot = loud->at(43, 6), head = loud->at(43, 65);
        EXPECT_TRUE(foot[1] > 200 && foot[0] < 40) << k;
        EXPECT_TRUE(head[0] > 200 && head[1] < 40) << k;
    }
}
