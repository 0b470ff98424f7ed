// The disco ball and the cube transition in a running production.
#include "tests/production/program/SceneProduction.h"

using effecttest::near;
using effecttest::Rgb;
using effecttest::SceneProduction;

namespace {

constexpr int CX = 64;
constexpr int CY = 36;

class EffectsDiscoCubeTest : public SceneProduction
{
protected:
    void disco()
    {
        models();
        music(1.0, toneFrom(0.0, 3, 0.0));
        plain("walls.png", { 120, 120, 200 });
        plain("beam.png", { 255, 255, 255 });
        blocks = "shaders { mirror = discoball_shader; colormaterial = colormaterial; }\n"
                 "objects { ball = discoball.o3d; rays = discorays.o3d; room = cube.o3d; }\n"
                 "graphics { walls = walls.png; beam = beam.png; }\n"
                 "disco * DiscoBallEffect { discoballA = objects[ball]; discoballB = objects[rays]; "
                 "lighttex = graphics[beam]; discoball_shader = shaders[mirror]; cube = objects[room]; "
                 "cube_texture = graphics[walls]; }\n";
        timeline = "object disco\non 0 1000\n";
    }

    int differing(int a, int b) const
    {
        int n = 0;
        const auto first = frame(a), second = frame(b);
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 128; ++x)
                n += first->at(x, y) != second->at(x, y);
        return n;
    }
};

} // namespace

TEST_F(EffectsDiscoCubeTest, DiscoBallTurnsAndPlaysTheSameOnEveryRun)
{
    disco();
    const ProgramRun first = playMusic(6);
    ASSERT_TRUE(clean(first));
    std::vector<Rgb> shown;
    for (int y = 0; y < 72; y += 3)
        for (int x = 0; x < 128; x += 3)
            shown.push_back(frame(5)->at(x, y));
    EXPECT_GT(differing(0, 5), 500) << "the ball and its beams turn";
    // The middle shows the ball, lit and brighter than the room's walls.
    const Rgb ball = frame(0)->at(CX, CY);
    EXPECT_GT(ball[0] + ball[1] + ball[2], 150);

    const ProgramRun second = playMusic(6);
    ASSERT_TRUE(clean(second));
    std::vector<Rgb> again;
    for (int y = 0; y < 72; y += 3)
        for (int x = 0; x < 128; x += 3)
            again.push_back(frame(5)->at(x, y));
    EXPECT_EQ(shown, again) << "the beams' colours come from a fixed seed";
}

TEST_F(EffectsDiscoCubeTest, CubeTurnsFromTheFirstBufferToTheSecond)
{
    plain("red.png", { 255, 0, 0 });
    plain("green.png", { 0, 255, 0 });
    music(1.0, toneFrom(0.0, 3, 0.0));
    blocks = "framebuffers { one = 128, 72, COLOR_BUFFER; two = 128, 72, COLOR_BUFFER; }\n"
             "graphics { red = red.png; green = green.png; }\n"
             "pica * DisplayTexture { texture = graphics[red]; }\n"
             "picb * DisplayTexture { texture = graphics[green]; }\n"
             "turn * CubeTransitionEffect { buffer1 = framebuffers[one]; buffer2 = framebuffers[two]; }\n";
    timeline = "object pica\npriority 0\non 0 10 one\n"
               "object picb\npriority 1\non 0 10 two\n"
               "object turn\npriority 2\non 0 10\n"
               "track zpos\n0 step -1\n"
               "track rot\n0 step 0\n2 step 90\n4 step 45\n";
    const ProgramRun run = playMusic(5);
    ASSERT_TRUE(clean(run));
    auto count = [&](int k, const Rgb& colour) {
        int n = 0;
        const auto shot = frame(k);
        for (int y = 0; y < 72; ++y)
            for (int x = 0; x < 128; ++x)
                n += near(shot->at(x, y), colour, 3);
        return n;
    };
    EXPECT_TRUE(near(frame(0)->at(CX, CY), { 255, 0, 0 }));
    EXPECT_EQ(count(0, { 0, 255, 0 }), 0);
    EXPECT_TRUE(near(frame(2)->at(CX, CY), { 0, 255, 0 }));
    EXPECT_EQ(count(2, { 255, 0, 0 }), 0);
    const int reds = count(4, { 255, 0, 0 }), greens = count(4, { 0, 255, 0 });
    EXPECT_GT(reds, 200);
    EXPECT_LE(std::abs(reds - greens), reds / 10) << "both faces at 45 degrees";
}
