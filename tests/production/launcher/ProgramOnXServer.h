#pragma once

#include "tests/production/launcher/ChildProcess.h"
#include "tests/production/launcher/XdoTool.h"
#include "tests/production/launcher/XvfbServer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// The ground every end-to-end test of the real program stands on, so that the
// suites differ only in how they drive it: one private virtual X server for a
// suite, and for each test a production folder of its own that the program
// runs in. A failed test's folder is kept, with the program's output, for
// the author to look into.
class ProgramOnXServer : public ::testing::Test
{
protected:
    static constexpr int screenWidth = 1280;
    static constexpr int screenHeight = 1024;
    static constexpr int timeoutMs = 60000;

    static void SetUpTestSuite();
    static void TearDownTestSuite();

    // A folder with the default shaders and an empty scripts folder; each
    // suite adds the rest of its production.
    void SetUp() override;
    void TearDown() override;

    static void writeText(const std::string& path, const std::string& text);
    static std::string readText(const std::string& path);

    // A silent show from zero to `stop` asking for a small window, with
    // `sections` after the standard ones and `paths` added to its paths.
    void writeScript(const std::string& stop, const std::string& sections = "", const std::string& paths = "");

    // Starts the program with `options` in the folder, on the virtual screen,
    // with no sound device; false when it cannot be started.
    bool launch(const std::vector<std::string>& options);

    // Waits for the program's end; its whole output with the standard error
    // after a marker, for the failure messages. The standard output is kept
    // in `out`.
    std::string finish();
    // The output so far, in the same form, for the failure messages.
    std::string log() const;
    std::string output() const;

    static std::unique_ptr<XvfbServer> xvfb;
    static std::unique_ptr<XdoTool> xdotool;
    static std::string startFailure;
    std::unique_ptr<testsupport::TempDir> temp;
    std::string dir;
    ChildProcess program;
    std::string out;
};
