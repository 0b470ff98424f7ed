#include "demosys/authoring/DevSession.h"
#include "demosys/runtime/Demo.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "production/CommandLine.h"
#include "production/DataDirectory.h"
#include "production/EffectReference.h"
#include "production/EffectRegistry.h"
#include "production/FrameCapture.h"
#include "production/HeadlessDisplay.h"
#include "production/MRVGui.h"
#include "production/NeonProgressBar.h"
#include "production/QuietLog.h"
#include "production/ReleaseFiles.h"
#include "production/RenderProgress.h"
#include "mrvutils/ReadLog.h"

#include <FL/Fl.H>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

namespace {

// The screen mode asked for on the command line, standing in for the
// launcher's choices: what is given overrides the script, as the launcher's
// choices do.
void applyScreenChoices(const CommandLineOptions& o, ScreenMetrics& metrics)
{
    if (o.width > 0)
        metrics.setResolution(o.width, o.height);
    if (o.fullscreenChosen || o.headless)
    {
        metrics.setFullscreen(o.fullscreen && !o.headless);
        metrics.setFullscreenOverride(true);
    }
    if (o.vsyncChosen || o.headless)
    {
        metrics.setVSync(o.vsync && !o.headless);
        metrics.setVSyncOverride(true);
    }
    if (o.fsaa >= 0)
        metrics.setFSAASamples(o.fsaa);
}

} // namespace

int main(int argc, char** argv)
{
    CommandLineOptions options;
    std::string error;
    if (!CommandLine::parse(argc, argv, options, error))
    {
        std::cerr << "kelvarn: " << error << "\n" << CommandLine::usage(argv[0]);
        return 2;
    }
    if (options.help)
    {
        std::cout << CommandLine::usage(argv[0]);
        return 0;
    }
    if (options.version)
    {
        std::cout << "kelvarn " << KELVARN_VERSION << std::endl;
        return 0;
    }
    std::unique_ptr<QuietLog> quietLog;
    if (options.quiet)
        quietLog.reset(new QuietLog(std::cout));
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
    {
        std::cerr << "kelvarn: cannot change to '" << options.dataDir << "': " << std::strerror(errno) << "\n";
        return 2;
    }
    if (options.dataDir.empty() && !DataDirectory::holdsResources("."))
    {
        // The files named on the command line stay where the viewer meant them.
        for (std::string* output : { &options.captureDir, &options.videoFile, &options.listFile, &options.timeline })
            *output = DataDirectory::absolute(*output);
        std::string searched;
        if (!DataDirectory::find(searched))
        {
            std::cerr << "kelvarn: no production data: no resources/ folder in " << searched << "\n";
            return 1;
        }
    }
    if (options.describe)
    {
        // The definitions are read from the data, as a show would read them.
        if (!EffectReference::write("resources/definitions/", options.describeClass, std::cout, error))
        {
            std::cerr << "kelvarn: " << error << "\n";
            return 1;
        }
        return 0;
    }
    HeadlessDisplay headless;
    if (options.headless)
    {
        // No window on any display and no sound on any device.
        if (!headless.open(error))
        {
            std::cerr << "kelvarn: no headless display: " << error << "\n";
            return 1;
        }
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        MRVDemosys::hiddenWindow = true;
    }

    ScreenMetrics metrics;
    std::unique_ptr<MRVGui> gui;
    if (!options.noLauncher && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
    {
        // The dialog needs a desktop; without one the demoscript decides, as
        // with --no-launcher.
        std::cout << "No display for the launcher; using the demoscript's screen mode" << std::endl;
        options.noLauncher = true;
    }
    if (!options.noLauncher)
    {
        gui.reset(new MRVGui(300, 450, "Morvane - Kelvarn - Final Version"));
        Fl::scheme("gtk+");
        Fl::run();
        metrics.setResolution(gui->getScreenWidth(), gui->getScreenHeight());
        metrics.setFullscreen(gui->getFullscreen());
        metrics.setFullscreenOverride(true);
        metrics.setVSync(gui->getVSync());
        metrics.setVSyncOverride(true);
        metrics.setFSAASamples(gui->getAntialiasing());
        if (gui->checkQuit())
        {
            std::cout << "Quit demo" << std::endl;
            return 0;
        }
    }
    else
        applyScreenChoices(options, metrics);

    std::cout << "Run demo" << std::endl;
    std::vector<char*> demoArgs = { argv[0] };
    if (!options.scriptName.empty())
        demoArgs.push_back(const_cast<char*>(options.scriptName.c_str()));
    int status = 0;
    if (!options.listFile.empty())
        ReadLog::start();
    {
        Demo demo(static_cast<int>(demoArgs.size()), demoArgs.data());
        MRVDemosys::setProgressBar(new NeonProgressBar);
        EffectRegistry::registerAll(demo);
        demo.setWindowTitle("Kelvarn");
        if (options.fps > 0)
            demo.setFixedStep(static_cast<unsigned int>(options.fps));
        demo.setFrameLimit(options.frames);
        demo.setStartOverride(options.start);
        demo.setStopOverride(options.stop);
        demo.setBenchmark(options.benchmark);

        demo.load(&metrics);
        demo.init();
        if (!options.listFile.empty() && demo.isValid() && !ReleaseFiles::write(options.listFile, error))
        {
            std::cerr << "kelvarn: " << error << "\n";
            status = 3;
        }

        std::unique_ptr<DevSession> dev;
        if (options.dev && demo.isValid())
        {
            DevSession::Options devOptions;
            // A timeline is only compiled into the track folder of the
            // demoscript that names it: another demoscript's folder is not
            // this timeline's to overwrite.
            devOptions.timeline = options.timeline.empty() ? MRVDemosys::getScriptValue("paths", "timeline") : options.timeline;
            if (devOptions.timeline.empty())
                std::cout << "No timeline is linked to this demoscript (paths: timeline); "
                             "its track files are watched, no timeline is compiled" << std::endl;
            devOptions.overlayAllowed = options.captureDir.empty() && options.videoFile.empty() && !options.benchmark;
            devOptions.editorAllowed = options.captureDir.empty() && options.videoFile.empty();
            devOptions.fixedStepFps = options.fps > 0 ? static_cast<unsigned int>(options.fps) : 0u;
            dev.reset(new DevSession(devOptions));
            dev->watchProduction();
            demo.setFrameHooks(dev.get());
            std::cout << "Watching " << dev->watchedFiles() << " files of the production" << std::endl;
        }

        std::unique_ptr<FrameCapture> capture;
        std::unique_ptr<RenderProgress> progress;
        if (demo.isValid() && (!options.captureDir.empty() || !options.videoFile.empty()))
        {
            capture.reset(new FrameCapture(metrics.getWidth(), metrics.getHeight()));
            bool started = true;
            if (!options.captureDir.empty())
                started = capture->startPng(options.captureDir);
            if (started && !options.videoFile.empty())
            {
                const std::string music = MRVDemosys::getScriptValue("sound", "play") == "1"
                                              ? MRVDemosys::getScriptValue("paths", "sound") + MRVDemosys::getScriptValue("sound", "file")
                                              : std::string();
                started = capture->startVideo(options.videoFile, options.fps, music,
                                              MRVTime(MRVDemosys::getScriptValue("system", "start")).getTicks());
            }
            if (started)
            {
                const unsigned int startMs = MRVTime(MRVDemosys::getScriptValue("system", "start")).getTicks();
                const std::string stop = MRVDemosys::getScriptValue("system", "stop");
                const unsigned int stopMs = stop.empty() ? 30u * 60u * 1000u : MRVTime(stop).getTicks();
                progress.reset(new RenderProgress(*capture,
                                                  RenderProgress::frameCount(startMs, stopMs, options.fps, options.frames),
                                                  options.fps, startMs, stderr, isatty(fileno(stderr)) != 0));
                demo.setFrameObserver(progress.get());
            }
            else
            {
                // Whoever asked for the frames wants them, not a show played
                // to its end for nothing.
                std::cerr << "kelvarn: " << capture->getErrorMessage() << "\n";
                status = 3;
            }
        }

        if (status == 0 && options.listFile.empty())
            demo.run();
        if (capture && status == 0)
        {
            progress->finish();
            if (!capture->finish())
            {
                std::cerr << "kelvarn: " << capture->getErrorMessage() << "\n";
                status = 3;
            }
            else if (!options.videoFile.empty())
                std::cout << "Video written to " << options.videoFile << std::endl;
        }
        if (!demo.isValid())
        {
            status = 1;
            if (quietLog)
                quietLog->passAll();
        }
        // The overlay's texture goes before the GL context that dispose closes.
        demo.setFrameHooks(nullptr);
        dev.reset();
        demo.dispose();
    }
    return status;
}
