#pragma once

#include "demosys/authoring/DevShow.h"
#include "demosys/authoring/FrameMeter.h"
#include "demosys/authoring/FramePacer.h"
#include "demosys/authoring/LiveAuthoring.h"
#include "demosys/authoring/LoopRegion.h"
#include "demosys/runtime/FrameHooks.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class CommandInput;
class ConsoleView;
class DevCommands;
class DevKeys;
class EditorUi;
class FlyCamera;
class HudOverlay;
class InspectorView;
class TimelineView;
class Waveform;

// Everything --dev adds to a show, in one place: the production's files
// watched and reloaded between frames, the authoring keys, the loop region,
// the overlay and the pacing of a fixed-step show. The demo's frame loop
// knows it only through its hooks.
//
// F1 opens and closes the editor over the show: panels that carry out what
// the mouse asks as the same commands a script types. F2 switches the fly
// camera, which poses the scenes in place of their camera paths until a
// commit writes its pose into the path being flown. Without a window
// (--dev --headless) those commands are read from standard input, a line
// each, and run between frames.
//
// With a window the show never ends by itself: played or sought into the
// stop time, it pauses on the last frame and Escape quits. Without one
// (--dev --headless, for scripts) it ends at the stop time as any show.
class DevSession : public FrameHooks
{
public:
    struct Options
    {
        // The timeline text compiled into the track folder; empty: the
        // track files are watched, no timeline is compiled.
        std::string timeline;
        // False keeps the overlay out of the picture: captured and measured
        // frames must show and cost only the show.
        bool overlayAllowed = true;
        // False keeps the editor out of captured frames. A measured run may
        // open it, to measure it.
        bool editorAllowed = true;
        // Frames per second of a fixed-step show, paced to their own times;
        // 0 for the real-time clock.
        unsigned int fixedStepFps = 0;
    };

    explicit DevSession(const Options& options);
    ~DevSession() override;

    DevSession(const DevSession&) = delete;
    DevSession& operator=(const DevSession&) = delete;

    // Lists the files of the loaded production; call once loading succeeded.
    void watchProduction();
    int watchedFiles() const { return authoring.watchedFiles(); }

    void showStarts() override;
    void betweenFrames() override;
    unsigned int afterClock(unsigned int time) override;
    bool event(const SDL_Event& event) override;
    void key(int sdlKey, int modifiers) override;
    void afterDraw(unsigned int time, unsigned int row) override;
    void afterSwap() override;

private:
    void drawEditor(unsigned int time);

    Options options;
    LiveAuthoring authoring;
    LoopRegion loop;
    FrameMeter meter;
    FramePacer pacer;
    std::unique_ptr<HudOverlay> overlay;
    std::unique_ptr<DevKeys> keys;
    std::unique_ptr<DevCommands> commands;
    // The editor (F1), made when first opened; never without a window.
    std::unique_ptr<EditorUi> editor;
    std::unique_ptr<TimelineView> timelineView;
    std::unique_ptr<InspectorView> inspectorView;
    std::unique_ptr<ConsoleView> consoleView;
    std::vector<std::string> targets;  // what an interval may draw into
    std::unique_ptr<Waveform> waveform;
    bool editorOpen = false;
    // Without a window, commands come on standard input.
    std::unique_ptr<CommandInput> input;
    bool overlayShown = true;
    // F2, or the camera commands: the author's camera in place of the paths.
    std::unique_ptr<FlyCamera> fly;
    std::chrono::steady_clock::time_point lastFrame = std::chrono::steady_clock::now();
    bool holdAtStop = false;
    // What the keys and the editor act on, set when the show starts.
    DevShow show;
};
