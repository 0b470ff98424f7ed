// The image effects in a running production: fade, blend, glow and motion
// blur over pictures drawn by DisplayTexture into known buffers.
#include "tests/production/program/EffectsProduction.h"

using effecttest::EffectsProduction;
using effecttest::near;
using effecttest::Rgb;

namespace {

// 64 x 36 windows: the viewport is 63 x 36, so the centre is well inside.
constexpr int CX = 31;
constexpr int CY = 18;

class EffectsPostTest : public EffectsProduction
{
};

} // namespace

TEST_F(EffectsPostTest, FadeVeilsTheKnownPictureByItsTrackColour)
{
    plain("blue.png", { 0, 0, 200 });
    blocks = "graphics { blue = blue.png; }\n"
             "pic * DisplayTexture { texture = graphics[blue]; }\n"
             "veil * FadeEffect { ; }\n"
             "clear * FadeEffect { ; }\n";
    // The veil is on for rows 0-1 only; "clear" has no tracks at all and so
    // fades with (0, 0, 0, 0), which must leave the picture as it is.
    timeline = "object pic\npriority 0\non 0 3\n"
               "object veil\npriority 1\non 0 1\n"
               "track red\n0 linear 1\ntrack green\n0 linear 1\ntrack blue\n0 linear 0\ntrack alpha\n0 linear 0.25\n"
               "object clear\npriority 2\non 0 3\n";
    const ProgramRun run = play(3);
    ASSERT_TRUE(clean(run));

    // 0.25 * (255, 255, 0) + 0.75 * (0, 0, 200)
    EXPECT_TRUE(near(frame(0)->at(CX, CY), { 64, 64, 150 }));
    EXPECT_TRUE(near(frame(0)->at(2, 2), { 64, 64, 150 })) << "the veil covers the whole screen";
    EXPECT_TRUE(near(frame(2)->at(CX, CY), { 0, 0, 200 })) << "an untracked fade is invisible";
}

TEST_F(EffectsPostTest, BlendCompositesTwoKnownBuffersAndConsumesThem)
{
    plain("a.png", { 100, 0, 50 });
    plain("b.png", { 100, 200, 0 });
    blocks = "framebuffers { one = 64, 36, COLOR_BUFFER; two = 64, 36, COLOR_BUFFER; }\n"
             "graphics { a = a.png; b = b.png; }\n"
             "pica * DisplayTexture { texture = graphics[a]; }\n"
             "picb * DisplayTexture { texture = graphics[b]; }\n"
             "mix * BlendEffect { shader = shaders[blend]; buffer1 = framebuffers[one]; buffer2 = framebuffers[two]; }\n";
    blocks = "shaders { blend = blend; }\n" + blocks;
    timeline = "object pica\npriority 0\nstart 0 one\n"
               "object picb\npriority 1\nstart 0 two\n"
               "object mix\npriority 2\non 0 2\n";
    const ProgramRun run = play(2);
    ASSERT_TRUE(clean(run));

    // The production's blend shader is a screen blend: a + b - a * b.
    EXPECT_TRUE(near(frame(0)->at(CX, CY), { 161, 200, 50 }));
    EXPECT_TRUE(near(frame(0)->at(60, 33), { 161, 200, 50 }));
    // The pictures were drawn in row 0 only; both buffers were flagged and
    // cleared, so row 1 blends two black buffers.
    EXPECT_TRUE(near(frame(1)->at(CX, CY), { 0, 0, 0 }));
}

TEST_F(EffectsPostTest, GlowAtOpacityZeroIsTheSourceAndAddsItsHaloAtOne)
{
    plain("src.png", { 60, 30, 90 });
    blocks = "shaders { blurx = blurx; blury = blury; glow = glow; }\n"
             "framebuffers { glowsource = 64, 36, COLOR_BUFFER; blurx = 32, 18, COLOR_BUFFER; "
             "blury = 32, 18, COLOR_BUFFER; }\n"
             "graphics { src = src.png; }\n"
             "pic * DisplayTexture { texture = graphics[src]; }\n"
             "glow * GlowEffect { ; }\n";
    // Opacity 0 (no keyframes) in rows 0-1, the full halo from row 2 on; the
    // picture stops after row 2, and the consumed source must then be black.
    timeline = "object pic\npriority 0\non 0 2 glowsource\n"
               "object glow\npriority 1\non 0 3\n"
               "track opacity\n0 step 0\n2 step 1\n";
    const ProgramRun run = play(4);
    ASSERT_TRUE(clean(run));

    EXPECT_TRUE(near(frame(0)->at(CX, CY), { 60, 30, 90 }, 1)) << "opacity 0 shows the source unchanged";
    EXPECT_TRUE(near(frame(1)->at(5, 5), { 60, 30, 90 }, 1));
    // A plain picture blurs to itself: the halo doubles it.
    EXPECT_TRUE(near(frame(2)->at(CX, CY), { 120, 60, 180 }, 3));
    EXPECT_TRUE(near(frame(3)->at(CX, CY), { 0, 0, 0 })) << "the source was flagged for clearing";
}

TEST_F(EffectsPostTest, GlowHaloSpreadsAcrossAnEdge)
{
    // Left half black, right half white: the blurred copy reaches across
    // the edge in both directions, so black pixels next to it light up.
    std::vector<unsigned> samples;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            samples.insert(samples.end(), 3, x < 8 ? 0u : 255u);
    picture("edge.png", 16, 8, pngtest::ColorType::RGB, samples);
    blocks = "shaders { blurx = blurx; blury = blury; glow = glow; }\n"
             "framebuffers { glowsource = 64, 36, COLOR_BUFFER; blurx = 64, 36, COLOR_BUFFER; "
             "blury = 64, 36, COLOR_BUFFER; }\n"
             "graphics { edge = edge.png; }\n"
             "pic * DisplayTexture { texture = graphics[edge]; }\n"
             "glow * GlowEffect { ; }\n";
    timeline = "object pic\npriority 0\non 0 1 glowsource\n"
               "object glow\npriority 1\non 0 1\ntrack opacity\n0 step 1\n";
    const ProgramRun run = play(1);
    ASSERT_TRUE(clean(run));
    const auto shot = frame(0);
    EXPECT_TRUE(near(shot->at(4, CY), { 0, 0, 0 })) << "far from the edge nothing glows";
    const int nearEdge = shot->at(29, CY)[0];
    EXPECT_GT(nearEdge, 5) << "the halo crosses the edge";
    EXPECT_LT(nearEdge, 128);
}

TEST_F(EffectsPostTest, MotionBlurMixesByFactorAndFreezesOnItsHistory)
{
    plain("pic.png", { 200, 100, 40 });
    blocks = "shaders { texture = texture; motionblur = motionblur; }\n"
             "framebuffers { aux1 = 64, 36, COLOR_BUFFER; aux2 = 64, 36, COLOR_BUFFER; "
             "offscreen = 64, 36, COLOR_BUFFER; }\n"
             "graphics { pic = pic.png; }\n"
             "pic * DisplayTexture { texture = graphics[pic]; }\n"
             "blur * MotionBlurEffect { ; }\n";
    // Half and half for rows 0-2, then the history alone while the picture
    // has stopped.
    timeline = "object pic\npriority 0\non 0 2 offscreen\n"
               "object blur\npriority 1\non 0 5\ntrack blurfactor\n0 step 0.5\n3 step 1\n";
    const ProgramRun run = play(6);
    ASSERT_TRUE(clean(run));

    // History starts black: 1/2, 3/4, 7/8 of the picture.
    EXPECT_TRUE(near(frame(0)->at(CX, CY), { 100, 50, 20 }, 3));
    EXPECT_TRUE(near(frame(1)->at(CX, CY), { 150, 75, 30 }, 3));
    EXPECT_TRUE(near(frame(2)->at(CX, CY), { 175, 88, 35 }, 3));
    // Factor 1 with the picture gone: the image stays as it was.
    EXPECT_TRUE(near(frame(3)->at(CX, CY), frame(2)->at(CX, CY), 1));
    EXPECT_TRUE(near(frame(5)->at(CX, CY), frame(2)->at(CX, CY), 1));
}
