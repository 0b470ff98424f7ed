#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class Effect;
class FrameBoundary;
class FrameObserver;
class HudOverlay;
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
    // Authoring keys: R reloads the shaders, Space pauses and resumes, Left
    // and Right seek five seconds, I and O set a loop's start and end at the
    // clock, L switches looping, H shows and hides the overlay of the clock,
    // the frame times and the drawing effects (shown at the start). Off, only
    // Escape does anything. On with a fixed step, frames are paced to their
    // own times so that an author watches the show at its speed.
    void setDevMode(bool on) { devMode = on; }
    // False keeps the overlay out of the picture even in dev mode: captured
    // frames and measured ones must show and cost only the show.
    void setOverlayAllowed(bool on) { overlayAllowed = on; }
    // Sees the gap between every two frames (not owned).
    void setFrameBoundary(FrameBoundary* boundary) { frameBoundary = boundary; }

    unsigned int getLoadMilliseconds() const { return loadMs; }
    const std::string& getErrorMessage() const { return errorMessage; }
    const std::string& getScriptPath() const { return scriptPath; }
    const std::string& getScriptName() const { return scriptName; }

private:
    void applyOverrides();
    void printBenchmark() const;
    void devKey(int key);
    // Jumps back to the loop's start once the clock passed its end; true
    // when it did.
    bool loopBack(unsigned int time);
    void paceFrame(unsigned int loopStartTicks) const;
    void startOverlay();
    // The frame rate over the last half second or so and this frame's CPU
    // time, for the overlay.
    void countFrame(std::chrono::steady_clock::time_point frameStart);

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
    FrameBoundary* frameBoundary = nullptr;
    bool looping = false;
    unsigned int loopStart = 0;
    unsigned int loopEnd = 0;
    bool benchmark = false;
    bool devMode = false;
    bool overlayAllowed = true;
    bool overlayShown = true;
    std::unique_ptr<HudOverlay> overlay;
    std::chrono::steady_clock::time_point rateStart;
    unsigned int rateFrames = 0;
    double overlayFps = 0.0;
    double lastFrameMs = 0.0;
    unsigned int loadMs = 0;
    std::vector<float> frameMs;
};
