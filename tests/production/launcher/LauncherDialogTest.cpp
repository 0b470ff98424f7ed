// The launcher end to end: the real program on a private virtual X server,
// its dialog driven with synthetic input, on a small production that each
// test writes itself. Every wait polls against a deadline.
#include "tests/production/launcher/ProgramOnXServer.h"
#include "tests/production/launcher/X11Session.h"
#include "tests/support/PngWriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const dialogTitle = "Morvane - Kelvarn - Final Version";

// Where the dialog's widgets are, inside its window.
struct Point
{
    int x;
    int y;
};
const Point awesomeButton = { 97, 400 };
const Point bummerButton = { 202, 400 };
const Point fullscreenButton = { 200, 280 };
const Point antialiasingList = { 200, 342 };

struct Geometry
{
    int width = -1;
    int height = -1;
};

class LauncherDialogTest : public ProgramOnXServer
{
protected:
    void SetUp() override
    {
        ProgramOnXServer::SetUp();
        if (HasFatalFailure())
            return;
        mkdir((dir + "/resources/graphics").c_str(), 0755);
        pngtest::writeFile(dir + "/resources/graphics/guilogo.png",
                           pngtest::encodePng(pngtest::makePicture(
                               16, 16, pngtest::ColorType::RGB, std::vector<unsigned>(16 * 16 * 3, 180))));
        // The script asks for a small window; the launcher's choices must win.
        writeScript("10:0:0");
    }

    // Starts the program with no options, so that the dialog shows, and
    // returns the dialog's window once it is on the screen.
    unsigned long startProgram()
    {
        if (!launch({}))
            return 0;
        const std::vector<unsigned long> ids = xdotool->search("--sync --all --onlyvisible --pid " +
                                                               std::to_string(program.pid()) + " --name '^" +
                                                               std::string(dialogTitle) + "$'");
        return ids.empty() ? 0 : ids.front();
    }

    void click(unsigned long window, Point at)
    {
        xdotool->run("mousemove --sync --window " + std::to_string(window) + " " + std::to_string(at.x) + " " +
                std::to_string(at.y) + " click 1");
    }

    // The first window of the program shown besides the dialog: the demo's.
    unsigned long waitForDemoWindow(unsigned long dialog)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline && !program.exited())
        {
            for (unsigned long id : xdotool->search("--onlyvisible --pid " + std::to_string(program.pid())))
                if (id != dialog)
                    return id;
            if (program.waitFor(100))
                break;
        }
        return 0;
    }

    Geometry geometryOf(unsigned long window)
    {
        Geometry g;
        const std::string text = xdotool->run("getwindowgeometry " + std::to_string(window));
        const size_t size = text.find("Geometry: ");
        if (size != std::string::npos)
            std::sscanf(text.c_str() + size, "Geometry: %dx%d", &g.width, &g.height);
        return g;
    }

    std::string windowName(unsigned long window)
    {
        std::string name = xdotool->run("getwindowname " + std::to_string(window));
        if (!name.empty() && name.back() == '\n')
            name.pop_back();
        return name;
    }

    bool isVisible(unsigned long window)
    {
        for (unsigned long id : xdotool->search("--onlyvisible --name '^" + std::string(dialogTitle) + "$'"))
            if (id == window)
                return true;
        return false;
    }

    bool has(const std::string& line) const { return out.find(line + "\n") != std::string::npos; }
};

} // namespace

TEST_F(LauncherDialogTest, AwesomeUntouchedStartsTheFirstModeFullscreenWithoutAntialiasing)
{
    const unsigned long dialog = startProgram();
    ASSERT_NE(dialog, 0u) << "no dialog" << finish();
    click(dialog, awesomeButton);

    const unsigned long demo = waitForDemoWindow(dialog);
    ASSERT_NE(demo, 0u) << "no demo window" << finish();
    const Geometry g = geometryOf(demo);
    EXPECT_EQ(g.width, screenWidth);
    EXPECT_EQ(g.height, screenHeight);
    // The fullscreen path never sets a caption; a window is titled.
    EXPECT_EQ(windowName(demo), "");
    EXPECT_FALSE(isVisible(dialog)) << "the dialog stays on the screen during the show";
    X11Session x(xvfb->display());
    ASSERT_TRUE(x.isOpen());
    x.requestClose(demo);

    const std::string log = finish();
    EXPECT_EQ(program.exitStatus(), 0) << log;
    EXPECT_EQ(out.rfind("Run demo\n", 0), 0u) << log;
    EXPECT_TRUE(has("FSAASamples : 0")) << log;
    EXPECT_TRUE(has("[Demo Init]")) << log;
    EXPECT_FALSE(has("No screen mode set. Attempting to read from demoscript")) << log;
    EXPECT_FALSE(has("Quit demo")) << log;
}

TEST_F(LauncherDialogTest, FullscreenSwitchedOffOpensAWindowOfTheChosenMode)
{
    const unsigned long dialog = startProgram();
    ASSERT_NE(dialog, 0u) << "no dialog" << finish();
    click(dialog, fullscreenButton);
    click(dialog, awesomeButton);

    const unsigned long demo = waitForDemoWindow(dialog);
    ASSERT_NE(demo, 0u) << "no demo window" << finish();
    const Geometry g = geometryOf(demo);
    EXPECT_EQ(g.width, screenWidth);
    EXPECT_EQ(g.height, screenHeight);
    EXPECT_EQ(windowName(demo), "Kelvarn");
    X11Session x(xvfb->display());
    ASSERT_TRUE(x.isOpen());
    x.requestClose(demo);

    const std::string log = finish();
    EXPECT_TRUE(has("[Demo Init]")) << log;
}

TEST_F(LauncherDialogTest, SixTimesAntialiasingReachesTheScreenMetrics)
{
    // A short show that ends by itself, whether or not the display offers
    // six samples.
    writeScript("0:0:200");
    const unsigned long dialog = startProgram();
    ASSERT_NE(dialog, 0u) << "no dialog" << finish();
    click(dialog, antialiasingList);
    // The list's menu starts on "None"; the keys arrive after the click has
    // opened it, as the toolkit reads its events in order.
    xdotool->run("key Down Down Down Return");
    click(dialog, awesomeButton);

    const std::string log = finish();
    EXPECT_EQ(out.rfind("Run demo\n", 0), 0u) << log;
    EXPECT_TRUE(has("FSAASamples : 6")) << log;
}

TEST_F(LauncherDialogTest, BummerQuitsWithoutRunningAnything)
{
    // Without its logo the dialog shows an empty box and works as before.
    std::remove((dir + "/resources/graphics/guilogo.png").c_str());
    const unsigned long dialog = startProgram();
    ASSERT_NE(dialog, 0u) << "no dialog" << finish();
    click(dialog, bummerButton);

    const std::string log = finish();
    EXPECT_EQ(program.exitStatus(), 0) << log;
    EXPECT_EQ(out, "Quit demo\n") << log;
}

TEST_F(LauncherDialogTest, ClosingTheWindowQuitsWithoutRunningAnything)
{
    const unsigned long dialog = startProgram();
    ASSERT_NE(dialog, 0u) << "no dialog" << finish();
    // Touched choices do not matter when the window is closed.
    click(dialog, fullscreenButton);
    X11Session x(xvfb->display());
    ASSERT_TRUE(x.isOpen());
    ASSERT_TRUE(x.requestClose(dialog));

    const std::string log = finish();
    EXPECT_EQ(program.exitStatus(), 0) << log;
    EXPECT_EQ(out, "Quit demo\n") << log;
}
