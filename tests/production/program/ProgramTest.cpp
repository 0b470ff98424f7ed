// End-to-end runs of the program, headless, on small productions that each
// test writes into a fresh directory.
#include "mrvutils/Image.h"
#include "tests/support/PngWriter.h"
#include "tests/support/ProgramRunner.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

ProgramRun kelvarn(const std::string& dir, const std::string& args)
{
    return runProgram(KELVARN_PATH, dir, args);
}

void writeFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A production with no effect objects, on the production's own definition
// files: the default shader pair, one framebuffer, one picture and one blob.
class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = temp.folder();
        for (const char* sub : { "/resources", "/resources/scripts", "/shaders", "/gfx", "/misc",
                                 "/tracks" })
            mkdir((dir + sub).c_str(), 0755);
        writeFile(dir + "/shaders/default.vert", "void main() { gl_Position = ftransform(); }\n");
        writeFile(dir + "/shaders/default.frag", "void main() { gl_FragColor = vec4(1.0); }\n");
        pngtest::writeFile(dir + "/gfx/dot.png",
                           pngtest::encodePng(pngtest::makePicture(2, 2, pngtest::ColorType::RGB,
                                                                   std::vector<unsigned>(12, 200))));
        writeFile(dir + "/misc/table.bin", std::string("\x01\x02\x03", 3));
        script = "{MRVDS1}\n"
                 "paths { definition = " MRV_RESOURCES_DIR "definitions/; shaders = shaders/; gfx = gfx/; misc = misc/; sound = ./; tracks = tracks; }\n"
                 "system { start = 0:0:0; }\n"
                 "screen { width = 64; height = 36; fullscreen = 0; }\n"
                 "sound { play = 0; }\n"
                 "framebuffers { glow = 32, 16, COLOR_BUFFER, DEPTH_BUFFER; }\n"
                 "graphics { dot = dot.png; }\n"
                 "binary { table = table.bin; }\n";
    }

    ProgramRun play(const std::string& args)
    {
        writeFile(dir + "/resources/scripts/demoscript.txt", script);
        return kelvarn(dir, "--headless " + args);
    }

    // Replaces the first occurrence of `from` in the script.
    void edit(const std::string& from, const std::string& to)
    {
        const size_t at = script.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        script.replace(at, from.size(), to);
    }

    // Kept when the test fails, for its files to be looked at.
    testsupport::TempDir temp{ "kelvarn_e2e", testsupport::TempDir::KEEP_ON_FAILURE };
    std::string dir;
    std::string script;
};

// Each of `lines` must appear, in this order, as a whole line of `out`.
::testing::AssertionResult inOrder(const std::string& out, const std::vector<std::string>& lines)
{
    size_t at = 0;
    for (const std::string& line : lines)
    {
        const size_t found = out.find("\n" + line + "\n", at == 0 ? 0 : at - 1);
        const bool first = at == 0 && out.compare(0, line.size() + 1, line + "\n") == 0;
        if (found == std::string::npos && !first)
            return ::testing::AssertionFailure() << "missing or out of order: '" << line << "'\n" << out;
        at = first ? line.size() + 1 : found + line.size() + 2;
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(ProgramTest, FullLoadAndShutdownInBannerOrder)
{
    const ProgramRun run = play("--fps 50 --frames 3");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(inOrder(run.out, { "Run demo", "[Creating DataPools]", "[Creating Pool objects]",
                                   "[Creating DemoScriptParser]", "[Parsing defaults]", "[Parsing demoscript]",
                                   "[Parsing .def files]", "[Supported OpenGL Extensions]", "[Loading Shaders]",
                                   "[Creating FramebufferObjects]", "[Loading 3D Objects]", "[Loading Graphics]",
                                   "[Loading Binary Data]", "[Loading Animation Data]", "[Create effect objects]",
                                   "[Create track data]", "[Setting up sound]", "[Getting Startpos]",
                                   "[Demo Init]", "[Demo Init END]", "[Shutting Down]", "[Deleting Pools]",
                                   "delete MRVDemosys::parameters", "delete MRVDemosys::effects",
                                   "delete MRVDemosys::data", "delete MRVDemosys::glExtensions",
                                   "delete MRVDemosys::tracks", "delete MRVDemosys::timer",
                                   "MRVDemosys::shutdown()", "[Application End]" }));
    EXPECT_NE(run.out.find("Load : gfx/dot.png\n"), std::string::npos);
    EXPECT_NE(run.out.find("Loading binary : 'misc/table.bin'\n"), std::string::npos);
    EXPECT_NE(run.out.find("Created 'glow' with options '32, 16, COLOR_BUFFER, DEPTH_BUFFER' : object -> "
                           "FrameBufferObject(32,16,COLOR_BUFFER,DEPTH_BUFFER)\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("startpos = (0000000000)-[00:00:000]\n"), std::string::npos);
    EXPECT_NE(run.out.find(" -> delete texture 'dot'\n"), std::string::npos) << "pools are released";

    // Quiet, only the summary is left of a show that went well.
    const ProgramRun quiet = play("--fps 50 --frames 3 --quiet");
    EXPECT_EQ(quiet.status, 0) << quiet.out;
    EXPECT_EQ(quiet.out.rfind("Duration : ", 0), 0u) << quiet.out;
    EXPECT_NE(quiet.out.find("\nFPS = "), std::string::npos) << quiet.out;
    for (const char* gone : { "[Creating DataPools]", "GL_", "Load : ", "[Application End]" })
        EXPECT_EQ(quiet.out.find(gone), std::string::npos) << gone << "\n" << quiet.out;
}

TEST_F(ProgramTest, FrameCountAndStopTimeEndTheShow)
{
    ProgramRun run = play("--fps 10 --frames 4 --benchmark");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("benchmark frames=4 "), std::string::npos) << run.out;
    // Frame k shows k * 100 ms: after the 4 frames at 0 to 300 ms the clock
    // stands at the next step.
    EXPECT_NE(run.out.find("Duration : (0000000400)-[00:00:400]\n"), std::string::npos) << run.out;

    // The frame whose time passes the stop time is still drawn: 0, 100, 200.
    run = play("--fps 10 --stop 0:0:150 --benchmark");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("benchmark frames=3 "), std::string::npos) << run.out;

    edit("start = 0:0:0;", "start = 1:0:0; stop = 1:0:50;");
    run = play("--fps 20 --benchmark");
    EXPECT_NE(run.out.find("startpos = (0000060000)-[01:00:000]\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("benchmark frames=3 "), std::string::npos) << run.out;
}

TEST_F(ProgramTest, BenchmarkReportsLoadAndFrameTimes)
{
    const ProgramRun run = play("--fps 30 --frames 5 --benchmark");
    ASSERT_EQ(run.status, 0) << run.out;
    const size_t at = run.out.find("benchmark frames=5 load_ms=");
    ASSERT_NE(at, std::string::npos) << run.out;
    const std::string line = run.out.substr(at, run.out.find('\n', at) - at);
    for (const char* field : { " frame_ms_median=", " frame_ms_p99=", " frame_ms_max=" })
        EXPECT_NE(line.find(field), std::string::npos) << line;
}

TEST_F(ProgramTest, CapturedFramesHaveTheWindowSizeAndCount)
{
    const ProgramRun run = play("--window 64x36 --frames 4 --capture frames");
    ASSERT_EQ(run.status, 0) << run.out;
    for (int i = 0; i < 4; ++i)
    {
        char name[64];
        std::snprintf(name, sizeof name, "/frames/frame_%06d.png", i);
        Image frame(dir + name);
        ASSERT_TRUE(frame.exists()) << name;
        EXPECT_EQ(frame.getWidth(), 64);
        EXPECT_EQ(frame.getHeight(), 36);
        EXPECT_EQ(frame.getBpp(), 24);
    }
    struct stat info;
    EXPECT_NE(stat((dir + "/frames/frame_000004.png").c_str(), &info), 0) << "exactly four frames";
}

TEST_F(ProgramTest, FailedLoadsExitWithStatusOneAndTheirMessage)
{
    struct Case
    {
        std::string from, to, message;
    };
    const std::vector<Case> cases = {
        { "{MRVDS1}", "{MRVDS2}", "Error while parsing demoscript!\nInvalid Script Header\nHeader : '{MRVDS2}'\n" },
        { "sound { play = 0; }", "", "Error while parsing demoscript!\nRequired block 'sound' not found!\n" },
        { "start = 0:0:0;", "start = 1:30;",
          "Error while parsing demoscript!\nBlock : 'system'\nError: 'start' is not a valid time: '1:30'\n"
          "Valid syntax: minutes:seconds:milliseconds\n" },
        { "shaders = shaders/;", "shaders = nowhere/;", "Vertex shader 'default.vert' not found" },
        { "32, 16, COLOR_BUFFER, DEPTH_BUFFER", "32, 16, COLOR_BUFFER, STENCIL_BUFFER",
          "Wrong parameter for framebuffer 'glow'\nvalue: 'STENCIL_BUFFER'\nexpected : 'DEPTH_BUFFER'\n" },
        { "32, 16, COLOR_BUFFER", "32px, 16, COLOR_BUFFER", "Frambuffer width is not an int\nFBO: glow\nvalue : 32px\n" },
        { "dot = dot.png;", "dot = none.png;", "Failed to load texture!\nFile : 'gfx/none.png'" },
        { "dot = dot.png;", "dot = dot.png, GL_TEXTURE_4D;", "Options : GL_TEXTURE_1D/2D/3D" },
        // One pixel wider than the software driver's largest texture.
        { "dot = dot.png;", "dot = wide.png;", "Texture 'gfx/wide.png' could not be given storage: GL_INVALID_VALUE\n" },
        { "32, 16, COLOR_BUFFER", "0, 0, COLOR_BUFFER",
          "Framebuffer 'glow' is incomplete: GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT\n" },
        { "table = table.bin;", "table = nothing.bin;", "Failed to binary data!\nFile : 'misc/nothing.bin'" },
        { "binary {", "animation { path = path.ani; }\nbinary {", "File 'misc/path.ani' not found!\n" },
        { "sound { play = 0; }", "sound { play = 1; file = missing.ogg; }", "Failed to load sound!\nFile : './missing.ogg'" },
    };
    pngtest::writeFile(dir + "/gfx/wide.png", pngtest::encodePng(pngtest::makePicture(
                                                  16385, 1, pngtest::ColorType::RGB, std::vector<unsigned>(3 * 16385, 9))));
    const std::string original = script;
    for (const Case& c : cases)
    {
        script = original;
        edit(c.from, c.to);
        const ProgramRun run = play("--fps 30 --frames 2");
        EXPECT_EQ(run.status, 1) << c.to << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.to << "\n" << run.out;
        EXPECT_TRUE(inOrder(run.out, { "[Shutting Down]", "MRVDemosys::shutdown()", "[Application End]" })) << c.to;
        EXPECT_EQ(run.out.find("[Demo Init]"), std::string::npos) << "nothing plays after a failed load";
    }
    // Quiet or not, a failed load tells its whole story.
    script = original;
    edit(cases.front().from, cases.front().to);
    const ProgramRun quiet = play("--fps 30 --frames 2 --quiet");
    EXPECT_EQ(quiet.status, 1) << quiet.out;
    EXPECT_NE(quiet.out.find(cases.front().message), std::string::npos) << quiet.out;
}

// The reference page in the repository is what the program says of its
// effect classes today; regenerate it with scripts/generate.
TEST_F(ProgramTest, DescribeMatchesTheReferencePageAndNamesOneClassOrRefusesAnUnknownOne)
{
    const std::string source = std::string(MRV_RESOURCES_DIR) + "..";
    std::ifstream page(source + "/docs/effect-reference.txt", std::ios::binary);
    const std::string expected((std::istreambuf_iterator<char>(page)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(expected.empty());
    const ProgramRun all = kelvarn(dir, "-C '" + source + "' --describe");
    EXPECT_EQ(all.status, 0) << all.out;
    EXPECT_EQ(all.out.substr(0, all.out.find("\n--stderr--\n")), expected)
        << "docs/effect-reference.txt is out of date: scripts/generate writes it anew";

    const ProgramRun one = kelvarn(dir, "-C '" + source + "' --describe FadeEffect");
    EXPECT_EQ(one.status, 0);
    EXPECT_EQ(one.out.rfind("FadeEffect\n  parameters: none\n  tracks:\n    alpha\n    red\n    green\n    blue\n"
                            "  resources: none\n",
                            0),
              0u)
        << one.out;
    // A name the class looks up by itself, not through a parameter.
    const ProgramRun fixed = kelvarn(dir, "-C '" + source + "' --describe SimplexNoiseEffect");
    EXPECT_EQ(fixed.status, 0);
    EXPECT_NE(fixed.out.find("\n  resources:\n    shader 'simplex'  "), std::string::npos) << fixed.out;
    const ProgramRun unknown = kelvarn(dir, "-C '" + source + "' --describe FadeEfect");
    EXPECT_EQ(unknown.status, 1);
    EXPECT_NE(unknown.out.find("kelvarn: no effect class 'FadeEfect'"), std::string::npos) << unknown.out;
}

TEST_F(ProgramTest, InvalidCommandLinesExitWithStatusTwo)
{
    for (const char* args : { "--bogus", "--fps 0", "--fps", "--window 640", "--window 0x0", "--start 1:2",
                              "--frames -1", "--fsaa many", "a.txt b.txt", "--list-files" })
    {
        const ProgramRun run = kelvarn(dir, args);
        EXPECT_EQ(run.status, 2) << args << "\n" << run.out;
        const size_t err = run.out.find("--stderr--");
        EXPECT_NE(run.out.find("usage: ", err), std::string::npos) << args;
        EXPECT_EQ(run.out.find("Run demo"), std::string::npos) << args;
    }
    const ProgramRun help = kelvarn(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: ", 0), 0u);
    const ProgramRun version = kelvarn(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("kelvarn ", 0), 0u);
}

TEST_F(ProgramTest, DataDirectoryAndScriptName)
{
    writeFile(dir + "/resources/scripts/other.txt", script);
    const ProgramRun run = kelvarn("/", "--headless -C '" + dir + "' --fps 30 --frames 1 other.txt");
    EXPECT_EQ(run.status, 0) << run.out;
    const ProgramRun missing = kelvarn("/", "--headless -C '" + dir + "' --frames 1 absent.txt");
    EXPECT_EQ(missing.status, 1) << missing.out;
    const ProgramRun noDir = kelvarn("/", "-C /no/such/dir --frames 1");
    EXPECT_EQ(noDir.status, 2) << noDir.out;

    // Started from a folder without data, the program moves to the data
    // near it, or says where it looked. Its copies stand where a build tree
    // or an unpacked release would put them.
    for (const char* sub : { "/empty", "/bin", "/bare", "/bare/a", "/bare/a/b" })
        mkdir((dir + sub).c_str(), 0755);
    ASSERT_EQ(std::system(("cp '" KELVARN_PATH "' '" + dir + "/bin/kelvarn' && cp '" KELVARN_PATH "' '" + dir +
                           "/bare/a/b/kelvarn'").c_str()),
              0);
    const ProgramRun near = runProgram(dir + "/bin/kelvarn", dir + "/empty", "--headless --frames 1 other.txt");
    EXPECT_EQ(near.status, 0) << near.out;
    EXPECT_NE(near.out.find("Data directory : " + dir + "\n"), std::string::npos) << near.out;
    const ProgramRun none = runProgram(dir + "/bare/a/b/kelvarn", dir + "/empty", "--headless --frames 1");
    EXPECT_EQ(none.status, 1) << none.out;
    EXPECT_NE(none.out.find("kelvarn: no production data: no resources/ folder in '" + dir + "/empty', '" + dir +
                            "/bare/a/b', '" + dir + "/bare/a', '" + dir + "/bare', '" + dir + "/bare/a/share/kelvarn'"),
              std::string::npos)
        << none.out;
    EXPECT_EQ(none.out.find("Run demo"), std::string::npos);
}

// The list a release packs: every file the load read, under the name it was
// opened by, and none of the production's other files.
TEST_F(ProgramTest, ListFilesNamesWhatTheLoadReadAndPlaysNothing)
{
    writeFile(dir + "/gfx/unused.png", "a work file no demoscript names\n");
    edit("misc = misc/;", "misc = ./misc/./;");
    const ProgramRun run = play("--list-files files.txt");
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out.find("[Demo Init]"), std::string::npos) << run.out;
    std::ifstream in(dir + "/files.txt");
    std::vector<std::string> relative, definitions;
    for (std::string line; std::getline(in, line);)
        (line.rfind(MRV_RESOURCES_DIR "definitions/", 0) == 0 ? definitions : relative).push_back(line);
    EXPECT_EQ(relative, (std::vector<std::string>{ "gfx/dot.png", "misc/table.bin", "resources/scripts/demoscript.txt",
                                                   "shaders/default.frag", "shaders/default.vert" }));
    EXPECT_EQ(definitions.size(), 18u) << "every class's definition and those of three system blocks";

    const ProgramRun unwritable = play("--list-files no/such/dir/files.txt");
    EXPECT_EQ(unwritable.status, 3) << unwritable.out;
    EXPECT_NE(unwritable.out.find("kelvarn: cannot write the file list 'no/such/dir/files.txt'"),
              std::string::npos)
        << unwritable.out;
}

// Frames that cannot be written are a failed run, not a show that ended:
// the status tells a script that nothing usable came out.
TEST_F(ProgramTest, CapturesThatCannotBeWrittenExitWithStatusThree)
{
    writeFile(dir + "/taken", "a file where the capture directory should go\n");
    const ProgramRun frames = play("--window 64x36 --frames 4 --capture taken/frames");
    EXPECT_EQ(frames.status, 3) << frames.out;
    EXPECT_NE(frames.out.find("Cannot create capture directory 'taken/frames'"), std::string::npos) << frames.out;
    EXPECT_EQ(frames.out.find("[Demo Init]"), std::string::npos) << "the show played without its capture";

    const ProgramRun video = play("--window 64x36 --frames 4 --video no/such/dir/show.mp4");
    EXPECT_EQ(video.status, 3) << video.out;
    EXPECT_NE(video.out.find("ffmpeg failed to encode the video"), std::string::npos) << video.out;
    EXPECT_EQ(video.out.find("Video written to"), std::string::npos) << video.out;
}

TEST_F(ProgramTest, VideoIsEncodedWithTheFramesOfTheShow)
{
    const ProgramRun run = play("--window 64x36 --frames 30 --video show.mp4");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Video written to show.mp4"), std::string::npos) << run.out;
    // 30 frames at the implied 60 fps: half a second of H.264.
    const ProgramRun probe = runProgram("ffprobe", dir,
                                        "-v error -select_streams v:0 -count_frames -show_entries "
                                        "stream=codec_name,width,height,nb_read_frames -of csv=p=0 show.mp4");
    ASSERT_EQ(probe.status, 0) << probe.out;
    EXPECT_EQ(probe.out.substr(0, probe.out.find('\n')), "h264,64,36,30");
}
