#include "tests/production/launcher/ProgramOnXServer.h"

#include "tests/support/ProgramRunner.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <utility>

std::unique_ptr<XvfbServer> ProgramOnXServer::xvfb;
std::unique_ptr<XdoTool> ProgramOnXServer::xdotool;
std::string ProgramOnXServer::startFailure;

void ProgramOnXServer::SetUpTestSuite()
{
    startFailure.clear();
    xvfb.reset(new XvfbServer);
    if (!xvfb->start(std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24", timeoutMs))
        startFailure = xvfb->error();
    xdotool.reset(new XdoTool(xvfb->display(), timeoutMs));
}

void ProgramOnXServer::TearDownTestSuite()
{
    xdotool.reset();
    xvfb.reset();
}

void ProgramOnXServer::SetUp()
{
    ASSERT_TRUE(startFailure.empty()) << startFailure;
    // Named after the suite, so that a kept folder says whose it is.
    temp.reset(new testsupport::TempDir(
        std::string("kelvarn_") + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name(),
        testsupport::TempDir::KEEP_ON_FAILURE));
    dir = temp->folder();
    for (const char* sub : { "/resources", "/resources/scripts", "/shaders" })
        mkdir((dir + sub).c_str(), 0755);
    writeText(dir + "/shaders/default.vert", "void main() { gl_Position = ftransform(); }\n");
    writeText(dir + "/shaders/default.frag", "void main() { gl_FragColor = vec4(1.0); }\n");
}

void ProgramOnXServer::TearDown()
{
    program.kill();
    // Kept when the test failed, for its files to be looked at.
    temp.reset();
}

void ProgramOnXServer::writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ProgramOnXServer::readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void ProgramOnXServer::writeScript(const std::string& stop, const std::string& sections, const std::string& paths)
{
    writeText(dir + "/resources/scripts/demoscript.txt",
              "{MRVDS1}\n"
              "paths { definition = " MRV_RESOURCES_DIR "definitions/; shaders = shaders/; sound = ./; " + paths +
                  "}\n"
              "system { start = 0:0:0; stop = " +
                  stop +
                  "; }\n"
                  "screen { width = 64; height = 36; fullscreen = 0; }\n"
                  "sound { play = 0; }\n" +
                  sections);
}

bool ProgramOnXServer::launch(const std::vector<std::string>& options)
{
    std::vector<std::string> args = { KELVARN_PATH };
    args.insert(args.end(), options.begin(), options.end());
    const std::vector<std::pair<std::string, std::string>> environment = {
        { "DISPLAY", xvfb->display() },
        { "SDL_VIDEODRIVER", "x11" },
        { "SDL_AUDIODRIVER", "dummy" },
        { "ASAN_OPTIONS", childSanitizerOptions() },
    };
    return program.start(args, environment, dir, dir + "/stdout.txt", dir + "/stderr.txt");
}

std::string ProgramOnXServer::finish()
{
    EXPECT_TRUE(program.waitFor(timeoutMs)) << "the program did not end";
    out = output();
    return log();
}

std::string ProgramOnXServer::log() const
{
    return output() + "\n--stderr--\n" + readText(dir + "/stderr.txt");
}

std::string ProgramOnXServer::output() const
{
    return readText(dir + "/stdout.txt");
}
