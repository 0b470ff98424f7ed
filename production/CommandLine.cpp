#include "production/CommandLine.h"

#include "demosys/runtime/MRVTime.h"
#include "mrvutils/StringUtils.h"

#include <cstring>

namespace {

bool parseSize(const std::string& text, int& w, int& h)
{
    const size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    const std::string ws = text.substr(0, x), hs = text.substr(x + 1);
    if (ws.empty() || hs.empty() || ws.size() > 5 || hs.size() > 5 || ws[0] == '-' || hs[0] == '-' ||
        !StringUtils::isInt(ws) || !StringUtils::isInt(hs))
        return false;
    w = std::stoi(ws);
    h = std::stoi(hs);
    return w > 0 && h > 0;
}

bool parseCount(const std::string& text, long long maximum, long long& value)
{
    if (text.empty() || text.size() > 12 || text[0] == '-' || !StringUtils::isInt(text))
        return false;
    value = std::stoll(text);
    return value <= maximum;
}

bool isTime(const std::string& text)
{
    MRVTime t(text);
    return t.isValid();
}

} // namespace

bool CommandLine::parse(int argc, char** argv, CommandLineOptions& o, std::string& error)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        // Options that take a value read it from the next argument.
        auto value = [&](std::string& out) {
            if (i + 1 >= argc)
            {
                error = "option '" + arg + "' needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string v;
        long long n = 0;

        if (arg == "-C" || arg == "--data")
        {
            if (!value(o.dataDir))
                return false;
        }
        else if (arg == "--no-launcher")
            o.noLauncher = true;
        else if (arg == "--window" || arg == "--fullscreen")
        {
            if (!value(v))
                return false;
            if (!parseSize(v, o.width, o.height))
            {
                error = "option '" + arg + "' expects WIDTHxHEIGHT, got '" + v + "'";
                return false;
            }
            o.fullscreenChosen = true;
            o.fullscreen = arg == "--fullscreen";
            o.noLauncher = true;
        }
        else if (arg == "--vsync" || arg == "--no-vsync")
        {
            o.vsyncChosen = true;
            o.vsync = arg == "--vsync";
            o.noLauncher = true;
        }
        else if (arg == "--fsaa")
        {
            if (!value(v))
                return false;
            if (!parseCount(v, 64, n))
            {
                error = "option '--fsaa' expects a sample count from 0 to 64, got '" + v + "'";
                return false;
            }
            o.fsaa = static_cast<int>(n);
            o.noLauncher = true;
        }
        else if (arg == "--headless")
        {
            o.headless = true;
            o.noLauncher = true;
        }
        else if (arg == "--fps")
        {
            if (!value(v))
                return false;
            if (!parseCount(v, 1000, n) || n == 0)
            {
                error = "option '--fps' expects a rate from 1 to 1000, got '" + v + "'";
                return false;
            }
            o.fps = static_cast<int>(n);
        }
        else if (arg == "--frames")
        {
            if (!value(v))
                return false;
            if (!parseCount(v, 1000000000LL, n))
            {
                error = "option '--frames' expects a frame count, got '" + v + "'";
                return false;
            }
            o.frames = n;
        }
        else if (arg == "--start" || arg == "--stop")
        {
            if (!value(v))
                return false;
            if (!isTime(v))
            {
                error = "option '" + arg + "' expects minutes:seconds:milliseconds, got '" + v + "'";
                return false;
            }
            (arg == "--start" ? o.start : o.stop) = v;
        }
        else if (arg == "--capture")
        {
            if (!value(o.captureDir))
                return false;
        }
        else if (arg == "--video")
        {
            if (!value(o.videoFile))
                return false;
        }
        else if (arg == "--benchmark")
            o.benchmark = true;
        else if (arg == "--dev")
            o.dev = true;
        else if (arg == "--timeline")
        {
            if (!value(o.timeline))
                return false;
        }
        else if (arg == "--quiet")
            o.quiet = true;
        else if (arg == "--describe")
        {
            // The class is optional: without one, every class.
            o.describe = true;
            if (i + 1 < argc && argv[i + 1][0] != '-')
                o.describeClass = argv[++i];
        }
        else if (arg == "--list-files")
        {
            if (!value(o.listFile))
                return false;
            o.headless = true;
            o.noLauncher = true;
        }
        else if (arg == "--help" || arg == "-h")
            o.help = true;
        else if (arg == "--version")
            o.version = true;
        else if (arg.size() > 1 && arg[0] == '-')
        {
            error = "unknown option '" + arg + "'";
            return false;
        }
        else if (o.scriptName.empty())
            o.scriptName = arg;
        else
        {
            error = "unexpected argument '" + arg + "'";
            return false;
        }
    }
    if ((!o.captureDir.empty() || !o.videoFile.empty()) && o.fps == 0)
        o.fps = 60;
    return true;
}

std::string CommandLine::usage(const char* program)
{
    return std::string("usage: ") + program + " [options] [DEMOSCRIPT]\n"
           "Plays the production; DEMOSCRIPT names a file in resources/scripts/\n"
           "(demoscript.txt by default).\n"
           "\n"
           "  -C, --data DIR      change to DIR first (data paths are relative to it)\n"
           "  --no-launcher       no dialog; the demoscript's screen block decides\n"
           "  --window WxH        windowed mode of that size (no dialog)\n"
           "  --fullscreen WxH    fullscreen mode of that size (no dialog)\n"
           "  --vsync, --no-vsync wait for the display's refresh, or not (no dialog)\n"
           "  --fsaa N            N antialiasing samples, 0 for none (no dialog)\n"
           "  --headless          no visible window and no audio output (no dialog)\n"
           "  --fps N             fixed step: frame k shows start + k*1000/N ms\n"
           "  --frames N          end the show after N frames\n"
           "  --start TIME        start position, minutes:seconds:milliseconds\n"
           "  --stop TIME         stop time, minutes:seconds:milliseconds\n"
           "  --capture DIR       write every frame to DIR/frame_NNNNNN.png (implies --fps 60)\n"
           "  --video FILE        encode frames and music with ffmpeg into FILE (implies --fps 60)\n"
           "  --benchmark         print frame and per-effect timings at the end\n"
           "  --list-files FILE   load headless, write every data file the production\n"
           "                      reads into FILE, one a line, and play nothing\n"
           "  --dev               authoring: edits of the timeline, track, animation,\n"
           "                      shader and picture files show at once; keys R reloads\n"
           "                      shaders, Space pauses, Left/Right seek five seconds,\n"
           "                      I/O set a loop's start/end, L loops, H shows or hides\n"
           "                      the overlay of time, row, frame rate and effects,\n"
           "                      Shift/Ctrl with Left/Right step a row/beat (both: a bar),\n"
           "                      F1 opens the editor (a timeline to click and scrub,\n"
           "                      keys and interval edges to drag, an inspector, a\n"
           "                      console line, Ctrl+Z undoes), F2 flies the camera\n"
           "                      (WASD, Q/E, Shift, drag to look) until a commit writes\n"
           "                      it into the camera path; with --headless the watching,\n"
           "                      and editor commands (key, unkey, move, on, off, span,\n"
           "                      target, seek, loop, camera, undo, redo) read from\n"
           "                      standard input (a fixed step then plays in real time)\n"
           "  --timeline FILE     the timeline text --dev compiles the tracks from\n"
           "                      (by default the demoscript's paths timeline entry;\n"
           "                      without one --dev compiles no timeline)\n"
           "  --quiet             standard output only for failures, warnings, the\n"
           "                      lines of --dev and the summary at the end\n"
           "  --describe [CLASS]  print each effect class's parameters (type, default,\n"
           "                      allowed values), the tracks it reads and the resources\n"
           "                      it looks up by name, and play nothing\n"
           "  --help, --version\n"
           "\n"
           "Exit status: 0 when the show ended or was quit, 1 when loading failed,\n"
           "2 for an invalid command line, 3 when captured frames or the video\n"
           "could not be written.\n";
}
