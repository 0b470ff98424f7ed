// The texture display, the spectrum graph and the simplex noise in a
// running production.
#include "tests/production/program/EffectsProduction.h"

#include <algorithm>

using effecttest::EffectsProduction;
using effecttest::near;
using effecttest::Rgb;

namespace {

constexpr int CX = 31;
constexpr int CY = 18;
const Rgb RED = { 255, 0, 0 };
const Rgb GREEN = { 0, 255, 0 };
const Rgb BLUE = { 0, 0, 255 };
const Rgb YELLOW = { 255, 255, 0 };
const Rgb BLACK = { 0, 0, 0 };

class EffectsDisplayTest : public EffectsProduction
{
protected:
    // 16 x 8, left half `left`, right half `right`; with `top` the upper
    // half of the right side instead.
    void halves(const std::string& file, const Rgb& left, const Rgb& right, const Rgb& top) const
    {
        std::vector<unsigned> samples;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
            {
                const Rgb& c = x < 8 ? left : (y < 4 ? top : right);
                samples.insert(samples.end(), { unsigned(c[0]), unsigned(c[1]), unsigned(c[2]) });
            }
        picture(file, 16, 8, pngtest::ColorType::RGB, samples);
    }
};

} // namespace

TEST_F(EffectsDisplayTest, DefaultTracksShowThePictureOverTheWholeScreen)
{
    halves("quad.png", RED, GREEN, BLUE);
    blocks = "graphics { quad = quad.png; }\n"
             "full * DisplayTexture { texture = graphics[quad]; }\n"
             "narrow * DisplayTexture { texture = graphics[quad]; }\n";
    // A quad 2 x 2 at z = -1 under a frustum 2 x 1.125 at the near plane:
    // the picture's full width and the middle of its height. "narrow" is the
    // same with size.x = -0.5, half as wide.
    timeline = "object full\nstart 0\n"
               "object narrow\nstart 1\ntrack size.x\n0 linear -0.5\n";
    const ProgramRun run = play(2);
    ASSERT_TRUE(clean(run));

    const auto shot = frame(0);
    EXPECT_TRUE(near(shot->at(1, 1), RED)) << "covers the corner";
    EXPECT_TRUE(near(shot->at(1, 34), RED));
    EXPECT_TRUE(near(shot->at(15, CY), RED));
    EXPECT_TRUE(near(shot->at(47, 9), GREEN)) << "picture's bottom at the screen's bottom";
    EXPECT_TRUE(near(shot->at(47, 27), BLUE));
    EXPECT_TRUE(near(shot->at(61, 34), BLUE));

    const auto narrow = frame(1);
    EXPECT_TRUE(near(narrow->at(8, CY), BLACK)) << "outside the half-width quad";
    EXPECT_TRUE(near(narrow->at(55, CY), BLACK));
    EXPECT_TRUE(near(narrow->at(20, CY), RED));
    EXPECT_TRUE(near(narrow->at(40, 9), GREEN));
}

TEST_F(EffectsDisplayTest, BlendSwitchIsExactlyOneOrTrue)
{
    plain("under.png", { 0, 0, 255 });
    std::vector<unsigned> samples;
    for (int i = 0; i < 64; ++i)
        samples.insert(samples.end(), { 255u, 0u, 0u, 128u });
    picture("glass.png", 8, 8, pngtest::ColorType::RGBA, samples);
    blocks = "graphics { under = under.png; glass = glass.png; }\n"
             "under * DisplayTexture { texture = graphics[under]; }\n"
             "one * DisplayTexture { texture = graphics[glass]; alphablend = 1; }\n"
             "yes * DisplayTexture { texture = graphics[glass]; alphablend = true; }\n"
             "caps * DisplayTexture { texture = graphics[glass]; alphablend = TRUE; }\n";
    timeline = "object under\npriority 0\non 0 2\n"
               "object one\npriority 1\nstart 0\n"
               "object yes\npriority 1\nstart 1\n"
               "object caps\npriority 1\nstart 2\n";
    const ProgramRun run = play(3);
    ASSERT_TRUE(clean(run));

    EXPECT_TRUE(near(frame(0)->at(CX, CY), { 128, 0, 127 }));
    EXPECT_TRUE(near(frame(1)->at(CX, CY), { 128, 0, 127 }));
    EXPECT_TRUE(near(frame(2)->at(CX, CY), RED)) << "'TRUE' is not a switch value: drawn opaque";
}

TEST_F(EffectsDisplayTest, ForwardScrollRepeatsThePictureAndBackwardNeitherScrollsNorRepeats)
{
    halves("lr.png", RED, GREEN, GREEN);
    blocks = "graphics { lr = lr.png; }\n"
             "ahead * DisplayTexture { texture = graphics[lr]; }\n"
             "back * DisplayTexture { texture = graphics[lr]; }\n";
    // 0.75 at 50 ms per frame moves u by 2.5: every frame swaps the halves.
    timeline = "object ahead\non 0 2\ntrack scroll.x\n0 linear 0.75\n"
               "object back\non 3 5\ntrack scroll.x\n0 linear -1\n";
    const ProgramRun run = play(6);
    ASSERT_TRUE(clean(run));

    const auto a = frame(1);
    const auto b = frame(2);
    EXPECT_TRUE(near(b->at(15, CY), a->at(47, CY))) << "scrolled by half a picture";
    EXPECT_TRUE(near(b->at(47, CY), a->at(15, CY)));
    EXPECT_FALSE(near(a->at(15, CY), a->at(47, CY), 60)) << "the repeat shows both halves";

    for (int k = 3; k <= 5; ++k)
    {
        const auto still = frame(k);
        EXPECT_TRUE(near(still->at(15, CY), RED)) << k;
        EXPECT_TRUE(near(still->at(47, CY), GREEN)) << k;
        // Clamped: the left edge does not pick up the right border.
        EXPECT_TRUE(near(still->at(0, CY), RED, 3)) << k;
    }
}

TEST_F(EffectsDisplayTest, SpectrumGraphOfSilenceIsAFlatLine)
{
    blocks = "graph * FrequencyEffect { ; }\n";
    timeline = "object graph\non 0 1\n";
    const ProgramRun run = play(2, "128x72");
    ASSERT_TRUE(clean(run));

    // y = -0.95 is row 1 of the 72-row viewport; x runs from 0.45 to 0.95,
    // columns 92 to 124 of 127.
    const auto shot = frame(1);
    int lit = 0, stray = 0;
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 128; ++x)
        {
            const bool on = shot->at(x, y)[0] > 0;
            if (y == 1 && x >= 94 && x <= 122)
            {
                EXPECT_TRUE(near(shot->at(x, y), { 204, 204, 204 })) << x;
                lit += on;
            }
            else if (on && !(y <= 2 && x >= 90 && x <= 126))
                ++stray;
        }
    EXPECT_EQ(lit, 29);
    EXPECT_EQ(stray, 0) << "nothing but the line is drawn";
}

TEST_F(EffectsDisplayTest, SimplexNoiseFillsTheScreenAndMovesWithTime)
{
    blocks = "shaders { simplex = simplex; }\nnoise * SimplexNoiseEffect { ; }\n";
    timeline = "object noise\non 0 10\n";
    const ProgramRun run = play(6);
    ASSERT_TRUE(clean(run));

    const auto first = frame(0);
    const auto last = frame(5);
    int darkest = 255, brightest = 0, changed = 0, black = 0;
    for (int y = 0; y < 36; y += 3)
        for (int x = 0; x < 63; x += 3)
        {
            const Rgb c = first->at(x, y);
            darkest = std::min(darkest, c[1]);
            brightest = std::max(brightest, c[1]);
            black += c == BLACK;
            changed += !near(c, last->at(x, y), 4);
        }
    EXPECT_EQ(black, 0) << "every pixel is shaded";
    EXPECT_GT(brightest - darkest, 40) << "a field, not a flat colour";
    EXPECT_GT(changed, 20) << "the field moves with time";
}
