#pragma once

#include <string>
#include <vector>

class Effect;
class FrameHooks;
class FrameObserver;
class ResourceLoader;
class ScreenMetrics;

// The application object: runs the load sequence that turns the demoscript
// into an open screen, loaded pools, effect objects, track data and music,
// plays the frame loop until the stop time or the quit request, and shuts
// everything down. A failed step makes init() and run() do nothing; dispose()
// always runs and reports the failure.
class Demo
{
public:
    Demo(int argc, char** argv);
    ~Demo();

    Demo(const Demo&) = delete;
    Demo& operator=(const Demo&) = delete;

    // False at once when already failed; otherwise true when loading failed.
    bool load(ScreenMetrics* metrics);
    void init();
    void run();
    bool dispose();

    void addEffect(const std::string& className, Effect* effect);
    void setWindowTitle(const std::string& title) { windowTitle = title; }
    bool isValid() const { return !failed; }
    void keyEvents();

    // Options of the program beyond the demoscript.
    // Frame k shows music time start + floor(k * 1000 / fps); the music is
    // not sent to the audio device.
    void setFixedStep(unsigned int fps) { fixedStepFps = fps; }
    // End the show after this many frames (the stop time still applies).
    void setFrameLimit(long long frames) { frameLimit = frames; }
    // Replace the system block's "start" / "stop" before they are read.
    void setStartOverride(const std::string& time) { startOverride = time; }
    void setStopOverride(const std::string& time) { stopOverride = time; }
    void setFrameObserver(FrameObserver* observer) { frameObserver = observer; }
    // Measure load and frame times and every effect's draws.
    void setBenchmark(bool on) { benchmark = on; }
    // Authoring (--dev) in the frame loop: keys beyond Escape, changed
    // files, the loop region, the overlay and pacing (not owned). Without
    // hooks only Escape does anything.
    void setFrameHooks(FrameHooks* hooks) { frameHooks = hooks; }

    unsigned int getLoadMilliseconds() const { return loadMs; }
    const std::string& getErrorMessage() const { return errorMessage; }
    const std::string& getScriptPath() const { return scriptPath; }
    const std::string& getScriptName() const { return scriptName; }

private:
    void applyOverrides();
    void printBenchmark() const;

    ResourceLoader* loader = nullptr;
    std::string scriptName = "demoscript.txt";
    std::string scriptPath = "resources/scripts/";
    std::string errorMessage;
    std::string windowTitle = "Morvane Demosystem";
    bool failed = false;

    unsigned int fixedStepFps = 0;
    long long frameLimit = -1;
    std::string startOverride;
    std::string stopOverride;
    FrameObserver* frameObserver = nullptr;
    FrameHooks* frameHooks = nullptr;
    bool benchmark = false;
    unsigned int loadMs = 0;
    std::vector<float> frameMs;
};
