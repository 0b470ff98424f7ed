#pragma once

#include <string>

// What the viewer or a script asked for on the command line. Every option
// that names a screen choice stands in for the launcher, so it implies
// noLauncher; capture and video imply a fixed step.
struct CommandLineOptions
{
    std::string scriptName;  // first argument that is not an option; "" keeps the default
    std::string dataDir;     // -C / --data: change to it first
    bool noLauncher = false;
    int width = 0;           // --window / --fullscreen WxH; 0 leaves it to the script
    int height = 0;
    bool fullscreenChosen = false;
    bool fullscreen = false;
    bool vsyncChosen = false;
    bool vsync = false;
    int fsaa = -1;           // -1: not given
    bool headless = false;
    int fps = 0;             // fixed step when > 0
    long long frames = -1;   // -1: no frame limit
    std::string start;       // m:s:ms overrides of the system block
    std::string stop;
    std::string captureDir;
    std::string videoFile;
    bool benchmark = false;
    bool dev = false;        // authoring keys and live reloading of the production's files
    std::string timeline;    // --timeline: the text --dev compiles the tracks from; "" is the demoscript's link
    bool quiet = false;      // standard output only for what needs a person
    bool describe = false;   // --describe [CLASS]: the effect classes' reference, nothing played
    std::string describeClass;
    std::string listFile;    // --list-files: load headless, write the data files read into it, play nothing
    bool help = false;
    bool version = false;
};

class CommandLine
{
public:
    // False with a one-line reason in `error` for an invalid command line.
    static bool parse(int argc, char** argv, CommandLineOptions& options, std::string& error);
    static std::string usage(const char* program);
};
