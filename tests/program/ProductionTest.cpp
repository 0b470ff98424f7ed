// The default production as it ships: the repository's own demoscript, models,
// pictures, music and track files, played headless from a start time inside
// each of its scenes.
#include "tests/program/EffectsProduction.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using effecttest::Frame;

// The repository root: the production's paths are relative to it.
std::string repositoryRoot()
{
    const std::string resources = MRV_RESOURCES_DIR;
    const std::string tail = "resources/";
    return resources.substr(0, resources.size() - tail.size());
}

class ProductionTest : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelvarn_productionXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }

    void TearDown() override
    {
        if (!HasFailure())
            std::system(("rm -rf '" + dir + "'").c_str());
    }

    std::string dir;
};

// Lines the player prints only when something went wrong: a GL error, a
// uniform a shader lacks, a resource or animation the effects cannot find,
// a loader failure.
::testing::AssertionResult clean(const ProgramRun& run)
{
    if (run.status != 0)
        return ::testing::AssertionFailure() << "status " << run.status << "\n" << run.out;
    for (const char* bad : { "[GL_ERROR", "Error", "not found", "STACK ERROR", "This should never happen" })
        if (run.out.find(bad) != std::string::npos)
            return ::testing::AssertionFailure() << "'" << bad << "' in\n" << run.out;
    return ::testing::AssertionSuccess();
}

// Share of pixels with some channel above a dark grey: a scene whose effect
// failed to draw, or drew into a buffer nobody shows, leaves the screen black.
double litShare(const Frame& frame)
{
    int lit = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
        {
            const effecttest::Rgb c = frame.at(x, y);
            if (c[0] > 40 || c[1] > 40 || c[2] > 40)
                ++lit;
        }
    return static_cast<double>(lit) / (frame.width() * frame.height());
}

TEST_P(ProductionTest, PlaysCleanlyAndShowsItsScene)
{
    const std::string start = GetParam();
    const ProgramRun run = runProgram(KELVARN_PATH, dir,
                                      "-C '" + repositoryRoot() +
                                          "' --headless --window 128x72 --fps 20 --frames 3 --start " + start +
                                          " --capture '" + dir + "/frames'");
    ASSERT_TRUE(clean(run));
    const Frame last(dir + "/frames/frame_000002.png");
    ASSERT_TRUE(last.exists()) << run.out;
    EXPECT_EQ(last.width(), 128);
    // Each start lies inside a scene, away from fades to black. The sparest
    // scene, the LED wall on black, lights about a sixth of the screen.
    EXPECT_GT(litShare(last), 0.1) << "at " << start;
}

// One start per scene: title over clouds, beach, drive, cube turn, stereo,
// stereo with greetings, mirror ball, sparks and spectrum, LED wall, carpet,
// closing title over the beach.
INSTANTIATE_TEST_SUITE_P(Scenes, ProductionTest,
                         ::testing::Values("0:05:000", "0:12:000", "0:24:000", "0:32:500", "0:42:000", "0:56:000",
                                           "1:10:000", "1:28:000", "1:41:000", "1:50:000", "2:20:000"));

// The show ends where the music ends: started a moment before the stop, it
// plays out and exits by itself instead of running to the frame limit.
TEST(ProductionEndTest, EndsAtTheStopOfTheSystemBlock)
{
    char pattern[] = "/tmp/kelvarn_productionXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    const ProgramRun run = runProgram(KELVARN_PATH, dir,
                                      "-C '" + repositoryRoot() +
                                          "' --headless --window 64x36 --fps 20 --frames 100 --start 2:31:500"
                                          " --capture '" + dir + "/frames'");
    ASSERT_TRUE(clean(run));
    // 0.5 s at 20 frames a second: about ten frames, far fewer than 100.
    const Frame beyond(dir + "/frames/frame_000030.png");
    EXPECT_FALSE(beyond.exists()) << "the show ran past its stop time";
    const Frame first(dir + "/frames/frame_000000.png");
    EXPECT_TRUE(first.exists());
    if (!HasFailure())
        std::system(("rm -rf '" + dir + "'").c_str());
}

} // namespace
