// The default production as it ships: the repository's own demoscript, models,
// pictures, music and track files, played headless from a start time inside
// each of its scenes and compared with the reference frames kept in
// tests/reference/.
#include "tests/production/program/EffectsProduction.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using effecttest::Frame;

// The repository root: the production's paths are relative to it.
std::string repositoryRoot()
{
    const std::string resources = MRV_RESOURCES_DIR;
    const std::string tail = "resources/";
    return resources.substr(0, resources.size() - tail.size());
}

std::string referenceDir()
{
    return repositoryRoot() + "tests/reference/";
}

struct Scene
{
    std::string name;
    std::string start;
    int frames = 3;
};

// Names the scene in test output instead of dumping its bytes.
void PrintTo(const Scene& scene, std::ostream* out)
{
    *out << scene.name << " at " << scene.start;
}

// The scenes and their start times, as scripts/update-references reads them.
std::vector<Scene> readScenes()
{
    std::vector<Scene> scenes;
    std::ifstream in(referenceDir() + "scenes.txt");
    std::string line;
    while (std::getline(in, line))
    {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        Scene scene;
        if (!(fields >> scene.name >> scene.start))
            continue;
        if (!(fields >> scene.frames) || scene.frames < 1)
            scene.frames = 3;
        scenes.push_back(scene);
    }
    return scenes;
}

std::string testName(const ::testing::TestParamInfo<Scene>& info)
{
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}


// What the effect tests ask of a run, and more: the shipped show prints no
// error line of any kind, a loader failure included, and no camera path is
// flown past its end.
::testing::AssertionResult clean(const ProgramRun& run)
{
    ::testing::AssertionResult effects = effecttest::EffectsProduction::clean(run);
    if (!effects)
        return effects;
    for (const char* bad : { "Error", "GL_ERROR", "OUT OF RANGE" })
        if (run.out.find(bad) != std::string::npos)
            return ::testing::AssertionFailure() << "'" << bad << "' in\n" << run.out;
    return ::testing::AssertionSuccess();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

// The software renderer may round a few edge pixels differently on another
// processor or driver build; a changed effect, camera, picture or timeline
// moves far more than that. Allowed: a mean difference of one level per
// channel and a strong difference (more than 32 levels) in at most one
// percent of the pixels. Even Mesa's other software rasteriser, softpipe,
// stays within that for every scene (at worst 0.6 % strong, 0.58 mean).
::testing::AssertionResult matchesReference(const Frame& actual, const Frame& reference)
{
    if (!reference.exists())
        return ::testing::AssertionFailure() << "no reference picture";
    if (actual.width() != reference.width() || actual.height() != reference.height())
        return ::testing::AssertionFailure() << actual.width() << "x" << actual.height() << " against "
                                             << reference.width() << "x" << reference.height();
    long long sum = 0;
    int strong = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
        {
            const effecttest::Rgb a = actual.at(x, y);
            const effecttest::Rgb r = reference.at(x, y);
            int worst = 0;
            for (int c = 0; c < 3; ++c)
            {
                const int d = std::abs(a[c] - r[c]);
                sum += d;
                worst = std::max(worst, d);
            }
            if (worst > 32)
                ++strong;
        }
    const double pixels = static_cast<double>(actual.width()) * actual.height();
    const double mean = static_cast<double>(sum) / (pixels * 3.0);
    const double strongShare = strong / pixels;
    if (mean > 1.0 || strongShare > 0.01)
        return ::testing::AssertionFailure() << "mean difference " << mean << " levels, " << strongShare * 100.0
                                             << "% of the pixels differ by more than 32";
    return ::testing::AssertionSuccess() << "mean difference " << mean;
}

// The shipped show played headless from the repository, with a folder of
// its own for the frames or the video, kept when the test fails.
class ProductionRun : public ::testing::Test
{
protected:
    void SetUp() override { dir = temp.folder(); }

    ProgramRun play(const std::string& options) const
    {
        return runProgram(KELVARN_PATH, dir, "-C '" + repositoryRoot() + "' --headless " + options);
    }

    testsupport::TempDir temp{ "kelvarn_production", testsupport::TempDir::KEEP_ON_FAILURE };
    std::string dir;
};

class ProductionTest : public ProductionRun, public ::testing::WithParamInterface<Scene>
{
};

TEST_P(ProductionTest, PlaysCleanlyAndLooksLikeItsReference)
{
    const Scene& scene = GetParam();
    // The same run as scripts/update-references makes.
    const ProgramRun run = play("--window 320x180 --fps 30 --frames " + std::to_string(scene.frames) + " --start " +
                                scene.start + " --capture '" + dir + "/frames'");
    ASSERT_TRUE(clean(run));
    char name[32];
    std::snprintf(name, sizeof name, "/frames/frame_%06d.png", scene.frames - 1);
    const std::string shown = dir + name;
    const Frame last(shown);
    ASSERT_TRUE(last.exists()) << run.out;
    // Each start lies inside a scene, away from fades to black. The sparest
    // scene, the LED wall on black, lights about a sixth of the screen.
    EXPECT_GT(litShare(last), 0.1) << scene.name << " at " << scene.start;
    EXPECT_TRUE(matchesReference(last, Frame(referenceDir() + scene.name + ".png")))
        << scene.name << " at " << scene.start << ": compare " << shown << " with " << referenceDir() << scene.name
        << ".png; if the change is meant, run scripts/update-references";
}

INSTANTIATE_TEST_SUITE_P(Scenes, ProductionTest, ::testing::ValuesIn(readScenes()), testName);

// Guards the list and the tolerance themselves: every scene has its picture,
// and no two scenes' pictures pass for each other, so the comparison can
// tell a wrong scene from a right one.
TEST(ProductionReferenceTest, EveryScenesPictureIsItsOwn)
{
    const std::vector<Scene> scenes = readScenes();
    ASSERT_GE(scenes.size(), 10u) << "the scene list is missing or short";
    for (size_t i = 0; i < scenes.size(); ++i)
    {
        const Frame picture(referenceDir() + scenes[i].name + ".png");
        ASSERT_TRUE(picture.exists()) << scenes[i].name;
        EXPECT_EQ(picture.width(), 320);
        EXPECT_EQ(picture.height(), 180);
        EXPECT_TRUE(matchesReference(picture, picture));
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(matchesReference(picture, Frame(referenceDir() + scenes[j].name + ".png")))
                << scenes[i].name << " passes for " << scenes[j].name;
    }
}

// The show ends where the music ends: started a moment before the stop, it
// plays out and exits by itself instead of running to the frame limit.
TEST_F(ProductionRun, EndsAtTheStopOfTheSystemBlock)
{
    const ProgramRun run = play("--window 64x36 --fps 20 --frames 100 --start 2:31:500 --capture '" + dir + "/frames'");
    ASSERT_TRUE(clean(run));
    // 0.5 s at 20 frames a second: about ten frames, far fewer than 100.
    const Frame beyond(dir + "/frames/frame_000030.png");
    EXPECT_FALSE(beyond.exists()) << "the show ran past its stop time";
    const Frame first(dir + "/frames/frame_000000.png");
    EXPECT_TRUE(first.exists());
}

// Captures of the same production and options are the same bytes run to run,
// also where a scene feeds on its earlier frames (motion blur) or scatters
// particles.
TEST_F(ProductionRun, CapturesAreTheSameBytesRunToRun)
{
    const struct
    {
        const char* scene;
        const char* start;
    } scenes[] = { { "the drive under motion blur", "0:24:000" }, { "the sparks under glow", "1:26:000" } };
    for (const auto& scene : scenes)
    {
        for (const char* run : { "a", "b" })
            ASSERT_TRUE(clean(play(std::string("--window 160x90 --fps 30 --frames 12 --start ") + scene.start +
                                   " --capture '" + dir + "/" + run + "'")));
        for (int k = 0; k < 12; ++k)
        {
            char name[32];
            std::snprintf(name, sizeof name, "/frame_%06d.png", k);
            const std::string a = readFile(dir + "/a" + name);
            ASSERT_FALSE(a.empty()) << scene.scene << name;
            ASSERT_TRUE(a == readFile(dir + "/b" + name)) << scene.scene << ": " << name << " differs";
        }
        std::system(("rm -rf '" + dir + "/a' '" + dir + "/b'").c_str());
    }
}

// The show's length as the demoscript's system block gives it, in seconds.
double scriptedLength()
{
    std::ifstream in(repositoryRoot() + "resources/scripts/demoscript.txt");
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t system = text.find("system");
    const size_t stop = text.find("stop", system);
    int minutes = 0, seconds = 0, ms = 0;
    if (system == std::string::npos || stop == std::string::npos ||
        std::sscanf(text.c_str() + stop, "stop = %d:%d:%d", &minutes, &seconds, &ms) != 3)
        return -1.0;
    return minutes * 60.0 + seconds + ms / 1000.0;
}

// One stream's codec and duration, as ffprobe reports them.
std::string probeStream(const std::string& dir, const std::string& file, const char* stream)
{
    const ProgramRun probe = runProgram("ffprobe", dir,
                                        std::string("-v error -select_streams ") + stream +
                                            " -show_entries stream=codec_name,duration -of csv=p=0 " + file);
    return probe.status == 0 ? probe.out.substr(0, probe.out.find('\n')) : "ffprobe failed: " + probe.out;
}

// The whole show through the video encoder, at the smallest size and at 30
// frames a second, so that every scene's last rows are drawn: it plays to its
// stop without an error or warning line, says how far it is on standard
// error only, and the file holds the pictures and the music for the whole
// of it.
TEST_F(ProductionRun, TheWholeShowBecomesAVideoWithItsMusic)
{
    const double length = scriptedLength();
    ASSERT_GT(length, 120.0) << "the demoscript's stop time";
    const ProgramRun run = play("--window 64x36 --fps 30 --video '" + dir + "/show.mp4'");
    ASSERT_TRUE(clean(run));
    ASSERT_NE(run.out.find("Video written to"), std::string::npos) << run.out;
    const size_t err = run.out.find("--stderr--");
    ASSERT_NE(err, std::string::npos);
    // Frame k shows k * 1000 / 30 ms; the first past the stop is drawn too.
    const std::string frames = std::to_string(static_cast<long long>(length * 30.0) + 2);
    EXPECT_NE(run.out.find("kelvarn: frame " + frames + "/" + frames + " ", err), std::string::npos) << run.out.substr(err);
    EXPECT_NE(run.out.find(" left", err), std::string::npos);
    EXPECT_EQ(run.out.rfind("kelvarn: frame", err), std::string::npos) << "progress on standard output";

    for (const char* stream : { "v:0", "a:0" })
    {
        const std::string line = probeStream(dir, "show.mp4", stream);
        const size_t comma = line.find(',');
        ASSERT_NE(comma, std::string::npos) << stream << ": " << line;
        EXPECT_EQ(line.substr(0, comma), stream[0] == 'v' ? "h264" : "aac");
        // The loop draws the frame that passes the stop time, and the audio
        // encoder pads its last packet: a frame's worth either way.
        EXPECT_NEAR(std::atof(line.c_str() + comma + 1), length, 0.25) << stream << ": " << line;
    }
}

} // namespace
