// --dev --headless on a small production: each kind of file is changed while
// the show runs, and the reload line and the captured frames show whether
// the change reached the screen or, for a bad one, changed nothing.
#include "tests/production/program/SceneProduction.h"
#include "tests/support/ProgramRunner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

using effecttest::SceneProduction;
using effecttest::near;
using effecttest::pose;
using effecttest::Rgb;
using effecttest::writeText;

namespace {

const Rgb BLACK = { 0, 0, 0 };
const Rgb RED = { 255, 0, 0 };
const Rgb GREEN = { 0, 255, 0 };
const Rgb BLUE = { 0, 0, 255 };
const Rgb LED = { 0, 242, 0 };  // the lit foot of an equalizer column
const int FRAMES = 30;

const char* const PASS_VERT = "void main() { gl_Position = ftransform(); }\n";
const char* const PASS_FRAG = "void main() { gl_FragColor = vec4(1.0); }\n";

// The picture fills the screen; the fade over it is clear until its tracks
// say otherwise. Over both, a tone lights the equalizer's first column,
// where the camera path looks.
const std::string SCENE = "object pic\npriority 0\non 0 100000\nobject leds\npriority 2\non 0 100000\n";
const std::string TIMELINE = SCENE + "object fade\npriority 1\non 0 100000\ntrack alpha\n0 linear 0\n";
const std::string GREEN_TIMELINE = SCENE + "object fade\npriority 1\non 0 100000\ntrack alpha\n0 linear 1\n"
                                           "track green\n0 linear 1\n";

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}


struct Edit
{
    const char* name;
    std::function<void(const std::string& dir)> change;
    const char* line;     // what the program prints for it
    Rgb before;           // at (x, y) in the first frame
    Rgb after;            // ... and in the last
    int x = 32, y = 18;
    int reloads = 1;      // lines starting "Reload"
    bool linked = true;   // --timeline names the timeline
    const char* unchanged = nullptr;  // a file that must keep its bytes
    const char* commands = nullptr;   // editor commands sent on standard input
    const char* timelineAfter = nullptr;  // the text they leave in ...
    const char* afterFile = "timeline.txt";  // ... this file
};

class DevReloadTest : public SceneProduction, public ::testing::WithParamInterface<Edit>
{
protected:
    void SetUp() override
    {
        SceneProduction::SetUp();
        models();
        music(4.0, toneFrom(0.0, 3, 0.5));
        path("path.ani", 0.0f, 0.0f, 0.0f);
        path("path2.ani", 0.0f, 0.0f, 0.0f);
        mkdir((dir + "/shaders").c_str(), 0755);
        for (const char* stem : { "/shaders/default", "/shaders/tint" })
        {
            writeText(dir + stem + ".vert", PASS_VERT);
            writeText(dir + stem + ".frag", PASS_FRAG);
        }
        plain("quad.png", RED);
        writeText(dir + "/timeline.txt", TIMELINE);
        const std::string resources = MRV_RESOURCES_DIR;
        writeText(dir + "/resources/scripts/demoscript.txt",
                  "{MRVDS1}\n"
                  "paths { definition = " + resources + "definitions/; shaders = shaders/; gfx = gfx/; "
                  "misc = misc/; object = ./; sound = ./; tracks = tracks; }\n"
                  "system { start = 0:0:0; rowrate = 20; }\n"
                  "screen { fullscreen = 0; }\nsound { file = music.wav; play = 1; }\n"
                  "shaders { tint = tint; }\ngraphics { quad = quad.png; }\nobjects { cube = cube.o3d; }\n"
                  "animation { equalizeranim = path.ani; equalizer2anim = path2.ani; }\n"
                  "pic * DisplayTexture { texture = graphics[quad]; }\nfade * FadeEffect { ; }\n"
                  "leds * EqualizerTransitionEffect { ; }\n");
        ASSERT_EQ(runProgram(MRVTRACK_PATH, dir, "compile timeline.txt -o tracks").status, 0);
    }

    // Plays FRAMES frames at 20 a second in real time, making the change
    // once the show has started.
    ProgramRun playWhile(const std::function<void(const std::string&)>& change, bool linked,
                         const char* commands = nullptr)
    {
        const std::string out = dir + "/out.txt";
        const std::string command = "cd '" + dir + "' && ASAN_OPTIONS='" + childSanitizerOptions() + "' exec '" KELVARN_PATH "' --dev --headless --window 64x36 "
                                    "--fps 20 --frames " + std::to_string(FRAMES) +
                                    " --capture frames" + (linked ? " --timeline timeline.txt" : "") + " >'" +
                                    out + "' 2>&1";
        int input[2];
        EXPECT_EQ(pipe(input), 0);
        const pid_t child = fork();
        if (child == 0)
        {
            dup2(input[0], 0);
            close(input[0]);
            close(input[1]);
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        close(input[0]);
        ProgramRun run;
        for (int i = 0; i < 200 && readAll(out).find("[Demo Init END]") == std::string::npos; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        change(dir);
        if (commands)
        {
            EXPECT_EQ(write(input[1], commands, std::strlen(commands)), static_cast<ssize_t>(std::strlen(commands)));
        }
        close(input[1]);
        int raw = 0;
        waitpid(child, &raw, 0);
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.out = readAll(out);
        return run;
    }
};

// Lines the program printed that start with `prefix`.
int linesStarting(const std::string& text, const std::string& prefix)
{
    int n = 0;
    for (size_t at = 0; at < text.size();)
    {
        n += text.compare(at, prefix.size(), prefix) == 0;
        const size_t end = text.find('\n', at);
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return n;
}

TEST_P(DevReloadTest, ChangeShowsOrLeavesTheLastGoodVersion)
{
    const Edit& edit = GetParam();
    const std::string kept = edit.unchanged ? readAll(dir + "/" + edit.unchanged) : std::string();
    const ProgramRun run = playWhile(edit.change, edit.linked, edit.commands);
    ASSERT_TRUE(clean(run));
    EXPECT_NE(run.out.find(edit.line), std::string::npos) << run.out;
    // One change, one line: a file is taken once, whole.
    EXPECT_EQ(linesStarting(run.out, "Reload"), edit.reloads) << run.out;
    if (edit.timelineAfter)
    {
        EXPECT_EQ(readAll(dir + "/" + edit.afterFile), edit.timelineAfter) << run.out;
    }
    if (edit.unchanged)
    {
        EXPECT_EQ(readAll(dir + "/" + edit.unchanged), kept) << edit.unchanged << " changed\n" << run.out;
    }
    EXPECT_TRUE(near(frame(0)->at(edit.x, edit.y), edit.before));
    EXPECT_TRUE(near(frame(FRAMES - 1)->at(edit.x, edit.y), edit.after)) << run.out;
    EXPECT_EQ(run.out.find("OUT OF RANGE"), std::string::npos);
}

const Edit EDITS[] = {
    { "Timeline", [](const std::string& d) { writeText(d + "/timeline.txt", GREEN_TIMELINE); },
      "Reloaded 'timeline.txt' in ", RED, GREEN },
    { "TrackFilesFromAnotherTool",
      [](const std::string& d) {
          writeText(d + "/other.txt", GREEN_TIMELINE);
          runProgram(MRVTRACK_PATH, d, "compile other.txt -o tracks");
      },
      "Reloaded 'tracks", RED, GREEN },
    { "Picture", [](const std::string& d) {
          std::vector<unsigned> samples;
          for (int i = 0; i < 64; ++i)
              samples.insert(samples.end(), { 0u, 0u, 255u });
          pngtest::writeFile(d + "/gfx/quad.png",
                             pngtest::encodePng(pngtest::makePicture(8, 8, pngtest::ColorType::RGB, samples)));
      },
      "Reloaded 'gfx/quad.png' in ", RED, BLUE },
    // The camera moves left: the lit columns move right, over (52, 6).
    { "Animation", [](const std::string& d) { writeText(d + "/misc/path.ani", pose(-8.0f, 0.0f, 0.0f)); },
      "Reloaded 'misc/path.ani' in ", RED, LED, 52, 6 },
    // An editor that stops half-way through the file: the half would not
    // compile, and must not be taken.
    { "TimelineWrittenInTwoGoes", [](const std::string& d) {
          std::ofstream out(d + "/timeline.txt", std::ios::binary);
          const size_t half = GREEN_TIMELINE.size() / 2;
          out << GREEN_TIMELINE.substr(0, half) << "track" << std::flush;
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
          out.seekp(static_cast<std::streamoff>(half));
          out << GREEN_TIMELINE.substr(half) << std::flush;
      },
      "Reloaded 'timeline.txt' in ", RED, GREEN },
    { "Shader", [](const std::string& d) {
          writeText(d + "/shaders/tint.frag", "void main() { gl_FragColor = vec4(0.5); }\n");
      },
      "Reloaded shader 'tint' ('shaders/tint.vert', 'shaders/tint.frag') in ", RED, RED },
    // A pair saved one file after the other (an editor's "save all", a
    // checkout): the new fragment shader does not link with the old vertex
    // shader, so compiling the half that came first would fail.
    { "ShaderPairSavedTogether", [](const std::string& d) {
          writeText(d + "/shaders/tint.frag", "varying vec4 tone; void main() { gl_FragColor = tone; }\n");
          std::this_thread::sleep_for(std::chrono::milliseconds(5));
          writeText(d + "/shaders/tint.vert",
                    "varying vec4 tone; void main() { tone = vec4(1.0); gl_Position = ftransform(); }\n");
      },
      "Reloaded shader 'tint' ('shaders/tint.vert', 'shaders/tint.frag') in ", RED, RED },
    // The timeline no longer names the picture: its track file goes, and
    // the effect stops drawing.
    { "TimelineDropsAnObject",
      [](const std::string& d) { writeText(d + "/timeline.txt", TIMELINE.substr(TIMELINE.find("object leds"))); },
      "Reloaded 'timeline.txt' in ", RED, BLACK },
    // Saved where the default production keeps its timeline, which is not
    // this demoscript's: nothing may be compiled into its track folder.
    { "TimelineNotLinkedToTheDemoscript",
      [](const std::string& d) { writeText(d + "/resources/timeline.txt", GREEN_TIMELINE); },
      "No timeline is linked to this demoscript", RED, RED, 32, 18, 0, false, "tracks/fade.alpha.track" },

    // The editor's commands, as a script sends them: the same text a person
    // would have written (a moved key keeps its columns), and the same reload.
    { "CommandsSetKeys", [](const std::string&) {}, "Done: move fade.green 10 0 ('timeline.txt' line 13)", RED,
      GREEN, 32, 18, 0, true, nullptr, "key fade.alpha 0 linear 1\nkey fade.green 10 linear 1\nmove fade.green 10 0\n",
      "object pic\npriority 0\non 0 100000\nobject leds\npriority 2\non 0 100000\nobject fade\npriority 1\n"
      "on 0 100000\ntrack alpha\n0 linear 1\ntrack green\n0  linear 1\n" },
    // Refused edits and undone ones leave the text as it was.
    { "CommandsRefusedOrUndone", [](const std::string&) {},
      "Not done: key fade.alpa 0 linear 1: object 'fade' reads no track 'alpa'", RED, RED, 32, 18, 0, true,
      "tracks/fade.alpha.track",
      "key fade.alpa 0 linear 1\non pic 0 10 buffr2\nkey fade.alpha 0 linear 1\nspan fade 0 0 99999\nundo\nundo\n",
      TIMELINE.c_str() },
    // The fly camera's pose goes into the path flown now, the keyframe it
    // stands on (the second: a Catmull-Rom path starts there): the camera
    // moves left as in the Animation row, now by the path itself.
    { "CommandsCommitTheFlyCamera", [](const std::string&) {},
      "Done: camera commit ('misc/path.ani' line 5) in ", RED, LED, 52, 6, 0, true, nullptr,
      "camera commit\ncamera set -8 0 0 0 0\ncamera commit\ncamera off\n",
      "MRVANI1\nkeyframes 4\npos 0 0 0\nrot 0 0\npos -8 0 0\nrot 0 0\npos 0 0 0\nrot 0 0\npos 0 0 0\nrot 0 0\n",
      "misc/path.ani" },
    { "CommandsCommitUndone", [](const std::string&) {}, "Undone: camera commit new", RED, LED, 22, 6, 0, true,
      "misc/path.ani", "camera set -8 0 0 0 0\ncamera commit new\ncamera off\nundo\n" },
    { "TimelineSyntaxError",
      [](const std::string& d) { writeText(d + "/timeline.txt", std::string(GREEN_TIMELINE) + "track\n"); },
      "Reload of 'timeline.txt' failed: timeline.txt:14: expected 'track NAME'", RED, RED },
    { "TimelineMisspeltObject",
      [](const std::string& d) { writeText(d + "/timeline.txt", "object pik\npriority 0\non 0 10\n" + TIMELINE); },
      "Reload of 'timeline.txt' failed: timeline.txt:1: object 'pik' is not an effect object of the demoscript",
      RED, RED, 32, 18, 1, true, "tracks/fade.alpha.track" },
    { "TimelineUnknownTarget",
      [](const std::string& d) { writeText(d + "/timeline.txt", "object pic\npriority 0\non 0 100000 buffr2\n" +
                                                                  TIMELINE.substr(TIMELINE.find("object leds"))); },
      "Reload of 'timeline.txt' failed: timeline.txt:3: render target 'buffr2' of object 'pic' is neither 'screen' "
      "nor a framebuffer of the demoscript", RED, RED, 32, 18, 1, true, "tracks/pic.track" },
    { "TimelineOfAnotherRowRate", [](const std::string& d) { writeText(d + "/timeline.txt", "rowrate 25\n" + GREEN_TIMELINE); },
      "Reload of 'timeline.txt' failed: timeline.txt:1: rowrate 25 differs from the demoscript's rowrate 20",
      RED, RED, 32, 18, 1, true, "tracks/fade.alpha.track" },
    // A compile that cannot write one of its files writes none of them.
    { "TimelineCompileFailsHalfWay", [](const std::string& d) {
          mkdir((d + "/tracks/fade.green.track.tmp").c_str(), 0755);
          writeText(d + "/timeline.txt", GREEN_TIMELINE);
      },
      "Reload of 'timeline.txt' failed: Cannot write track file 'tracks/fade.green.track.tmp'", RED, RED, 32, 18, 1,
      true, "tracks/fade.alpha.track" },
    // A track file deleted under the show keeps its last good version, even
    // when another track file is read again later.
    { "TrackFileDeletedThenAnotherChanged", [](const std::string& d) {
          const std::string alpha = readAll(d + "/tracks/fade.alpha.track");
          std::remove((d + "/tracks/pic.track").c_str());
          std::this_thread::sleep_for(std::chrono::milliseconds(300));
          writeText(d + "/tracks/fade.alpha.track", alpha);
      },
      "'tracks/pic.track' is missing, its last good version stays", RED, RED, 32, 18, 2 },
    { "TrackFileCutShort", [](const std::string& d) { writeText(d + "/tracks/fade.alpha.track", "\x01\x00"); },
      "Reload of 'tracks/fade.alpha.track' failed: 'tracks/fade.alpha.track' is truncated or corrupt", RED, RED },
    { "AnimationBadHeader", [](const std::string& d) { writeText(d + "/misc/path.ani", "MRVANI9\nkeyframes 0\n"); },
      "Reload of 'misc/path.ani' failed: ", RED, LED, 22, 6 },
    { "AnimationTooShort",
      [](const std::string& d) { writeText(d + "/misc/path.ani", "MRVANI1\nkeyframes 1\npos 0 0 0\nrot 0 0\n"); },
      "Reload of 'misc/path.ani' failed: it has 1 keyframes", RED, LED, 22, 6 },
    { "ShaderDoesNotCompile", [](const std::string& d) { writeText(d + "/shaders/tint.frag", "void main() { oops }\n"); },
      "Reload of shader 'tint' ('shaders/tint.vert', 'shaders/tint.frag') failed: ", RED, RED },
    { "NotAPicture", [](const std::string& d) { writeText(d + "/gfx/quad.png", "this is text"); },
      "Reload of 'gfx/quad.png' failed: it is not a PNG picture", RED, RED },
    { "PictureOfAnotherSize", [](const std::string& d) {
          pngtest::writeFile(d + "/gfx/quad.png",
                             pngtest::encodePng(pngtest::makePicture(2, 2, pngtest::ColorType::RGB,
                                                                     std::vector<unsigned>(12, 0))));
      },
      "Reload of 'gfx/quad.png' failed: it is 2x2, the texture 8x8", RED, RED },
    { "PictureDeleted", [](const std::string& d) { std::remove((d + "/gfx/quad.png").c_str()); },
      "Reload of 'gfx/quad.png' failed: the file is missing; keeping the last good version", RED, RED },
};

INSTANTIATE_TEST_SUITE_P(EachKindOfFile, DevReloadTest, ::testing::ValuesIn(EDITS),
                         [](const ::testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

} // namespace
