// The authoring keys end to end: the real program in a small window on a
// private virtual X server, keys typed into it, and what it tells the author
// read from its standard output as it comes. Every wait polls against a
// deadline.
#include "demosys/runtime/MRVTime.h"
#include "tests/production/launcher/ProgramOnXServer.h"
#include "demosys/timeline/TimelineParser.h"
#include "demosys/timeline/TrackFolderWriter.h"
#include "demosys/timeline/TrackSystem.h"
#include "tests/production/launcher/X11Session.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const unsigned int seekStepMs = 5000;
// The name the script gives the shader differs from its files' name: the
// author is told the name.
const char* const shaderName = "tint";
const char* const goodFragment = "void main() { gl_FragColor = vec4(0.2, 0.4, 0.6, 1.0); }\n";

// How the program reports a moment: the clock, then the row at the
// default 20 rows a second (this script sets no beat length).
std::string timeText(unsigned int ms)
{
    return MRVTime(ms).toString() + " row " + std::to_string(ms * 20u / 1000u);
}

// The milliseconds in a reported time, "(0000012345)-[00:12:345]".
unsigned int ticksIn(const std::string& line)
{
    const size_t open = line.find('(');
    if (open == std::string::npos)
        return 0;
    return static_cast<unsigned int>(std::strtoul(line.c_str() + open + 1, nullptr, 10));
}

// The overlay writes its lines in pale yellow, (1, 0.95, 0.6), on a panel
// that is dark over any scene: black over this production's empty one.
bool isOverlayText(const unsigned char* rgb)
{
    const int expected[3] = { 255, 242, 153 };
    for (int c = 0; c < 3; ++c)
        if (std::abs(rgb[c] - expected[c]) > 3)
            return false;
    return true;
}

// The overlay's pixels in a grab: its two lines (the position, the frame
// rate; no effect draws here) fit in the top left of the small window.
struct OverlayPixels
{
    int inCorner = 0;
    int elsewhere = 0;

    explicit OverlayPixels(const X11Session::Picture& picture)
    {
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                if (isOverlayText(picture.at(x, y)))
                    ++(x < picture.width * 3 / 4 && y < picture.height / 2 ? inCorner : elsewhere);
    }

    // Enough for the digits of a clock and a frame rate, all in the corner.
    bool shown() const { return inCorner >= 100 && elsewhere == 0; }
    bool hidden() const { return inCorner == 0 && elsewhere == 0; }
    std::string toString() const
    {
        return std::to_string(inCorner) + " text pixels in the corner, " + std::to_string(elsewhere) + " elsewhere";
    }
};

class DevKeysTest : public ProgramOnXServer
{
protected:
    void SetUp() override
    {
        ProgramOnXServer::SetUp();
        if (HasFatalFailure())
            return;
        writeText(dir + "/shaders/tinted.vert", "void main() { gl_Position = ftransform(); }\n");
        writeText(dir + "/shaders/tinted.frag", goodFragment);
        // Ten minutes of a silent clock: the show outlasts any test.
        writeScript("10:0:0", "shaders { " + std::string(shaderName) + " = tinted; }\n");
    }

    // Starts the program in a window and gives that window the keyboard
    // (there is no window manager to do it); the window, or 0.
    unsigned long startProgram(bool dev, const char* size = "160x90")
    {
        std::vector<std::string> options = { "--no-launcher", "--window", size };
        if (dev)
            options.push_back("--dev");
        if (!launch(options))
            return 0;
        const std::vector<unsigned long> ids =
            xdotool->search("--sync --onlyvisible --pid " + std::to_string(program.pid()));
        if (ids.empty())
            return 0;
        xdotool->run("windowfocus --sync " + std::to_string(ids.front()));
        // The window comes before the production is loaded: a file edited
        // now could be read at load rather than reloaded. The show plays
        // once the loop starts.
        if (nextLine("[Demo Init END]").empty())
            return 0;
        return ids.front();
    }

    // Typed through the X server's test extension, as a keyboard would:
    // the program reads the keys in the order sent.
    void press(const std::string& keys) { xdotool->run("key " + keys); }

    // The first line starting with `prefix` after the last line this
    // returned; empty when none has come by the deadline or the program has
    // ended without it.
    std::string nextLine(const std::string& prefix)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;)
        {
            // Once ended, the program has written all it will: one last look.
            const bool ended = program.exited() || program.waitFor(0);
            const std::string text = output();
            for (size_t at = consumed, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
                if (text.compare(at, prefix.size(), prefix) == 0)
                {
                    consumed = end + 1;
                    return text.substr(at, end - at);
                }
            if (ended || std::chrono::steady_clock::now() >= deadline)
                return "";
            program.waitFor(50);
        }
    }

    // Grabs the window until a frame shows the overlay as `shown`, or the
    // deadline passes; what the last grab held, for the failure message.
    std::string waitForOverlay(X11Session& x, unsigned long window, bool shown)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::string seen = "no grab";
        for (;;)
        {
            const X11Session::Picture picture = x.grab(window);
            if (!picture.empty())
            {
                const OverlayPixels pixels(picture);
                if (shown ? pixels.shown() : pixels.hidden())
                    return "";
                seen = std::to_string(picture.width) + "x" + std::to_string(picture.height) + ": " +
                       pixels.toString();
            }
            if (program.exited() || std::chrono::steady_clock::now() >= deadline)
                return seen;
            program.waitFor(50);
        }
    }

    bool isShown(unsigned long window)
    {
        if (program.exited())
            return false;
        const std::vector<unsigned long> ids = xdotool->search("--onlyvisible --pid " + std::to_string(program.pid()));
        return std::find(ids.begin(), ids.end(), window) != ids.end();
    }

    size_t consumed = 0;
};

} // namespace

TEST_F(DevKeysTest, PauseSeeksAndResumeReportTheClockAndSeeksStopAtZero)
{
    ASSERT_NE(startProgram(true), 0u) << "no window" << finish();

    press("space");
    const std::string paused = nextLine("Paused at ");
    ASSERT_FALSE(paused.empty()) << log();
    unsigned int at = ticksIn(paused);
    EXPECT_EQ(paused, "Paused at " + timeText(at));

    // Shift steps a row (50 ms here), to the row's first millisecond; Ctrl
    // steps a beat, which this script does not set.
    press("shift+Right");
    ASSERT_EQ(nextLine("Seek to "), "Seek to " + timeText((at / 50 + 1) * 50)) << log();
    press("shift+Left");
    at = at / 50 * 50;
    ASSERT_EQ(nextLine("Seek to "), "Seek to " + timeText(at)) << log();
    press("ctrl+Right");
    EXPECT_EQ(nextLine("No beat"), "No beat to step by: the system block sets no rowsperbeat") << log();

    // Paused, the clock stands still: every seek lands exactly a step on.
    press("Right");
    unsigned int expected = at + seekStepMs;
    ASSERT_EQ(nextLine("Seek to "), "Seek to " + timeText(expected)) << log();
    // Back until the clock is at zero, whatever the pause found: the last
    // step back is shorter than a step unless the pause fell on a whole step.
    while (expected > 0)
    {
        press("Left");
        expected = expected > seekStepMs ? expected - seekStepMs : 0;
        ASSERT_EQ(nextLine("Seek to "), "Seek to " + timeText(expected)) << log();
    }
    // At zero a step back stays there rather than wrapping round.
    press("Left");
    EXPECT_EQ(nextLine("Seek to "), "Seek to (0000000000)-[00:00:000] row 0") << log();

    press("space");
    EXPECT_EQ(nextLine("Resumed at "), "Resumed at " + timeText(0)) << log();
    // Running again: a later pause finds the clock moved on from zero.
    press("space");
    const std::string pausedAgain = nextLine("Paused at ");
    ASSERT_FALSE(pausedAgain.empty()) << log();
    EXPECT_GT(ticksIn(pausedAgain), 0u) << pausedAgain;

    press("Escape");
    const std::string all = finish();
    EXPECT_EQ(program.exitStatus(), 0) << all;
}

TEST_F(DevKeysTest, LoopKeysSetAndSwitchALoopThatJumpsBackAndHTogglesTheOverlay)
{
    X11Session x(xvfb->display());
    ASSERT_TRUE(x.isOpen());
    const unsigned long window = startProgram(true);
    ASSERT_NE(window, 0u) << "no window" << finish();

    // Nothing to loop yet: L says why instead of promising a loop.
    press("l");
    EXPECT_EQ(nextLine("Loop "), "Loop needs an end: O sets it at the clock") << log();

    // Paused, the loop's ends are exactly where the seeks put the clock.
    press("space");
    const std::string paused = nextLine("Paused at ");
    ASSERT_FALSE(paused.empty()) << log();
    const unsigned int start = ticksIn(paused);
    const unsigned int end = start + seekStepMs;
    press("i");
    EXPECT_EQ(nextLine("Loop "), "Loop start at " + timeText(start)) << log();
    press("Right");
    ASSERT_EQ(nextLine("Seek to "), "Seek to " + timeText(end)) << log();
    press("o");
    EXPECT_EQ(nextLine("Loop "), "Loop end at " + timeText(end)) << log();
    // An end that is not after the start cannot loop.
    press("Left o l");
    EXPECT_EQ(nextLine("Loop "), "Loop end at " + timeText(start)) << log();
    EXPECT_EQ(nextLine("Loop "), "Loop needs an end after its start") << log();
    press("Right o l");
    EXPECT_EQ(nextLine("Loop "), "Loop end at " + timeText(end)) << log();
    EXPECT_EQ(nextLine("Loop "), "Loop on from " + timeText(start) + " to " + timeText(end)) << log();

    // Past the end, the first running frame goes back to the start.
    press("Right");
    ASSERT_EQ(nextLine("Seek to "), "Seek to " + timeText(end + seekStepMs)) << log();
    press("space");
    EXPECT_EQ(nextLine("Loop "), "Loop back to " + timeText(start)) << log();

    // The overlay starts shown and is drawn in every frame; the key hides
    // it from the frame that reads it, and the window shows that frame soon
    // after.
    EXPECT_EQ(waitForOverlay(x, window, true), "") << "before the first H";
    press("h");
    EXPECT_EQ(nextLine("HUD "), "HUD off") << log();
    EXPECT_EQ(waitForOverlay(x, window, false), "") << "after HUD off";
    press("h");
    EXPECT_EQ(nextLine("HUD "), "HUD on") << log();
    EXPECT_EQ(waitForOverlay(x, window, true), "") << "after HUD on";

    // Running, the loop may have come round again meanwhile.
    press("l");
    EXPECT_EQ(nextLine("Loop off"), "Loop off; was from " + timeText(start) + " to " + timeText(end)) << log();

    press("Escape");
    const std::string all = finish();
    EXPECT_EQ(program.exitStatus(), 0) << all;
}

TEST_F(DevKeysTest, ShaderReloadKeepsTheOldProgramOnABrokenSourceAndTakesAFixedOne)
{
    const unsigned long window = startProgram(true);
    ASSERT_NE(window, 0u) << "no window" << finish();

    const std::string shader =
        "shader '" + std::string(shaderName) + "' ('shaders/tinted.vert', 'shaders/tinted.frag')";
    writeText(dir + "/shaders/tinted.frag", "void main() { gl_FragColor = vec4(1.0) }\n");
    // The key reloads through the watcher's path, with its line; the
    // watcher may have read the file first.
    press("r");
    EXPECT_EQ(nextLine("Reload of " + shader + " failed: ").empty(), false) << log();
    // The show goes on, and still listens to the author.
    EXPECT_TRUE(isShown(window)) << log();
    press("space");
    EXPECT_FALSE(nextLine("Paused at ").empty()) << log();

    writeText(dir + "/shaders/tinted.frag", "void main() { gl_FragColor = vec4(0.9, 0.1, 0.1, 1.0); }\n");
    press("r");
    EXPECT_EQ(nextLine("Reloaded " + shader + " in ").empty(), false) << log();

    press("Escape");
    const std::string all = finish();
    EXPECT_EQ(program.exitStatus(), 0) << all;
}

TEST_F(DevKeysTest, PlayingOrSeekingIntoTheStopTimePausesOnTheLastFrameUntilEscape)
{
    writeScript("0:9:0", "shaders { " + std::string(shaderName) + " = tinted; }\n");
    const unsigned long window = startProgram(true);
    ASSERT_NE(window, 0u) << "no window" << finish();

    // The second step at the latest reaches past the stop time, and stays
    // on it.
    press("Right Right");
    ASSERT_FALSE(nextLine("Seek to ").empty()) << log();
    EXPECT_EQ(nextLine("Seek to "), "Seek to " + timeText(9000)) << log();
    EXPECT_EQ(nextLine("Paused at the stop time "), "Paused at the stop time " + timeText(9000) + "; Escape quits")
        << log();
    // Still there for the author, and still listening.
    EXPECT_TRUE(isShown(window)) << log();
    press("Left");
    EXPECT_EQ(nextLine("Seek to "), "Seek to " + timeText(4000)) << log();

    press("Escape");
    const std::string all = finish();
    EXPECT_EQ(program.exitStatus(), 0) << all;
}

// The editor's panel: its title bar, in the dark style's blue, spans the
// window's width where the panel starts.
int panelTitlePixels(const X11Session::Picture& picture)
{
    int count = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
        {
            const unsigned char* rgb = picture.at(x, y);
            count += std::abs(rgb[0] - 41) < 12 && std::abs(rgb[1] - 74) < 12 && std::abs(rgb[2] - 122) < 12;
        }
    return count;
}

// Where a key of the inspector's curve is drawn, in its pale grey: the
// middle of those pixels in the right-hand panel; false when none shows.
bool findKey(const X11Session::Picture& picture, int& x, int& y)
{
    long sumX = 0, sumY = 0, count = 0;
    for (int py = 0; py < picture.height * 62 / 100; ++py)
        for (int px = picture.width * 62 / 100; px < picture.width; ++px)
        {
            const unsigned char* rgb = picture.at(px, py);
            if (std::abs(rgb[0] - 230) < 4 && std::abs(rgb[1] - 230) < 4 && std::abs(rgb[2] - 240) < 4)
                sumX += px, sumY += py, ++count;
        }
    if (count == 0)
        return false;
    x = static_cast<int>(sumX / count);
    y = static_cast<int>(sumY / count);
    return true;
}

TEST_F(DevKeysTest, TheEditorSeeksWhereTheRulerIsClickedAndWritesADraggedKeyIntoTheTimeline)
{
    // A fade with one key half way through the ten minutes, its timeline
    // compiled into the track folder as the player reads it.
    const std::string timeline = "# the fade\nobject fade\non 0 12000\ntrack alpha\n  5:00:000  linear  0.25\n";
    writeText(dir + "/timeline.txt", timeline);
    TimelineParser parser("timeline.txt");
    std::unique_ptr<TrackSystem> tracks(parser.parse(timeline));
    ASSERT_TRUE(tracks) << parser.getErrorMessage();
    mkdir((dir + "/tracks").c_str(), 0755);
    ASSERT_TRUE(TrackFolderWriter(dir + "/tracks").write(*tracks));
    writeScript("10:0:0", "fade * FadeEffect { ; }\n", "tracks = tracks; timeline = timeline.txt; ");

    X11Session x(xvfb->display());
    ASSERT_TRUE(x.isOpen());
    const unsigned long window = startProgram(true, "960x540");
    ASSERT_NE(window, 0u) << "no window" << finish();
    const std::string id = std::to_string(window);
    const X11Session::Picture before = x.grab(window);
    ASSERT_FALSE(before.empty());
    EXPECT_LT(panelTitlePixels(before), 100);

    press("F1");
    ASSERT_EQ(nextLine("Editor "), "Editor on") << log();
    int shown = 0;
    for (int i = 0; i < 40 && shown < 3000; ++i)
    {
        program.waitFor(50);
        const X11Session::Picture grab = x.grab(window);
        shown = grab.empty() ? 0 : panelTitlePixels(grab);
    }
    EXPECT_GE(shown, 3000) << "the panel's title bar";

    // The ruler runs from 138 to about 952 pixels over the whole show,
    // under the timeline panel's title from y = 358: its middle is about
    // five minutes in.
    xdotool->run("mousemove --window " + id + " 545 369 click 1");
    const std::string seek = nextLine("Seek to ");
    ASSERT_FALSE(seek.empty()) << log();
    EXPECT_NEAR(static_cast<double>(ticksIn(seek)), 300000.0, 20000.0) << seek;
    // A seek is no edit: Ctrl+Z finds nothing to undo, and says so.
    press("ctrl+z");
    EXPECT_EQ(nextLine("Not done: undo"), "Not done: undo: nothing to undo") << log();

    // The fade's lane, the first under the ruler, shows it in the inspector
    // with its key on the curve.
    xdotool->run("mousemove --window " + id + " 60 389 click 1");
    int keyX = 0, keyY = 0;
    bool found = false;
    for (int i = 0; i < 40 && !found; ++i)
    {
        program.waitFor(50);
        found = findKey(x.grab(window), keyX, keyY);
    }
    ASSERT_TRUE(found) << "no key drawn in the inspector" << finish();

    // Dragged right and up, in steps the editor sees frame by frame: a later
    // row and a higher value, written into the key's own line.
    xdotool->run("mousemove --window " + id + " " + std::to_string(keyX) + " " + std::to_string(keyY) +
                 " sleep 0.2 mousedown 1 sleep 0.2");
    for (int step = 1; step <= 4; ++step)
        xdotool->run("mousemove --window " + id + " " + std::to_string(keyX + 10 * step) + " " +
                     std::to_string(keyY - 3 * step) + " sleep 0.1");
    xdotool->run("sleep 0.2 mouseup 1");
    const std::string done = nextLine("Done: move fade.alpha 5:00:000 ");
    ASSERT_FALSE(done.empty()) << log();
    const std::string after = readText(dir + "/timeline.txt");
    EXPECT_EQ(after.find("5:00:000"), std::string::npos) << after;
    EXPECT_EQ(after.compare(0, 39, timeline, 0, 39), 0) << "the lines before the key changed:\n" << after;
    EXPECT_EQ(after.find("0.25"), std::string::npos) << "the value stayed:\n" << after;

    // The drag is an edit: Ctrl+Z puts the text back byte for byte.
    press("ctrl+z");
    EXPECT_EQ(nextLine("Undone: "), "Undone: " + done.substr(6, done.find(" ('") - 6)) << log();
    EXPECT_EQ(readText(dir + "/timeline.txt"), timeline);

    press("F1");
    EXPECT_EQ(nextLine("Editor "), "Editor off") << log();
    press("Escape");
    const std::string all = finish();
    EXPECT_EQ(program.exitStatus(), 0) << all;
}

TEST_F(DevKeysTest, WithoutDevModeOnlyEscapeActs)
{
    ASSERT_NE(startProgram(false), 0u) << "no window" << finish();

    // Escape comes last, so the program has read the other keys before it
    // ends.
    press("space Right Left r i o l h F1 Escape");
    const std::string all = finish();
    EXPECT_EQ(program.exitStatus(), 0) << all;
    for (const char* report : { "Paused at", "Resumed at", "Seek to", "Reload", "Loop ", "HUD ", "Editor" })
        EXPECT_EQ(out.find(report), std::string::npos) << report << "\n" << all;
}
