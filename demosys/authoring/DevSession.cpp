#include "demosys/authoring/DevSession.h"

#include "demosys/authoring/CameraPathView.h"
#include "demosys/authoring/CommandInput.h"
#include "demosys/authoring/ConsoleView.h"
#include "demosys/authoring/DevCommands.h"
#include "demosys/authoring/DevKeys.h"
#include "demosys/authoring/EditorUi.h"
#include "demosys/authoring/FlyCamera.h"
#include "demosys/authoring/InspectorView.h"
#include "demosys/authoring/TimelineView.h"
#include "demosys/authoring/Waveform.h"
#include "demosys/authoring/HudOverlay.h"
#include "demosys/data/DataFBOPool.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/runtime/ScreenMetrics.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/timeline/CameraTakeover.h"
#include "demosys/timeline/TrackSystem.h"
#include "mrvutils/MRVUtils.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <iostream>

namespace {

int systemValue(const char* key, int otherwise)
{
    const std::string text = MRVDemosys::getScriptValue("system", key);
    return text.empty() ? otherwise : MRVUtils::string2Int(text);
}

} // namespace

DevSession::DevSession(const Options& options_)
    : options(options_), authoring(options_.timeline), pacer(options_.fixedStepFps),
      fly(new FlyCamera(MRVDemosys::cameraTakeover))
{
}

DevSession::~DevSession()
{
    // The scenes fly their own paths again, at no cost.
    MRVDemosys::cameraTakeover.flying = false;
    MRVDemosys::cameraTakeover.keepMatrices = false;
    // The pools, and the path in them, go with the show.
    MRVDemosys::cameraTakeover.path = nullptr;
}

void DevSession::watchProduction()
{
    authoring.watchProduction();
}

void DevSession::showStarts()
{
    // A hidden window has no one to look at a held last frame or an overlay.
    holdAtStop = !MRVDemosys::hiddenWindow;

    show.timer = MRVDemosys::timer;
    show.loop = &loop;
    show.authoring = &authoring;
    show.fly = fly.get();
    show.stopMs = MRVDemosys::stopTime.getTicks();
    show.rowRate = MRVDemosys::tracks ? MRVDemosys::tracks->getRowRate() : TrackSystem::DEFAULT_ROW_RATE;
    show.rowsPerBeat = systemValue("rowsperbeat", 0);
    show.beatsPerBar = systemValue("beatsperbar", 4);

    if (options.overlayAllowed && !MRVDemosys::hiddenWindow)
    {
        overlay.reset(new HudOverlay(show.rowsPerBeat, show.beatsPerBar));
        for (const auto& entry : MRVDemosys::fboPool->getFBOMap())
            overlay->nameTarget(entry.second, entry.first);
        show.overlayShown = &overlayShown;
    }
    keys.reset(new DevKeys(show));
    commands.reset(new DevCommands(show));
    if (MRVDemosys::hiddenWindow)
        input.reset(new CommandInput(0));
    pacer.start();
}

void DevSession::betweenFrames()
{
    // Reloads delay the frame they precede, so they count towards it.
    meter.frameStarts();
    const auto now = std::chrono::steady_clock::now();
    const float seconds = std::min(0.1f, std::chrono::duration<float>(now - lastFrame).count());
    lastFrame = now;
    // What is typed into the console is no flight.
    if (fly->isFlying() && !MRVDemosys::hiddenWindow && !(editorOpen && editor->hasKeyboard()))
        fly->move(SDL_GetKeyboardState(nullptr), (SDL_GetModState() & KMOD_SHIFT) != 0, seconds);
    authoring.betweenFrames();
    if (input)
        for (const std::string& line : input->poll())
            commands->run(line);
}

unsigned int DevSession::afterClock(unsigned int time)
{
    FMODTimer* timer = MRVDemosys::timer;
    if (loop.passedEnd(time))
    {
        timer->setTime(loop.getStart());
        std::cout << "Loop back to " << keys->moment(loop.getStart()) << std::endl;
        time = timer->getTime();
    }
    if (holdAtStop && time > show.stopMs)
    {
        timer->setTime(show.stopMs);
        if (!timer->isPaused())
        {
            timer->pause();
            std::cout << "Paused at the stop time " << keys->moment(show.stopMs) << "; Escape quits" << std::endl;
        }
        time = show.stopMs;
    }
    return time;
}

bool DevSession::event(const SDL_Event& event)
{
    // F1 and F2 act even while the console line has the keyboard.
    if (event.type == SDL_KEYDOWN && (event.key.keysym.sym == SDLK_F1 || event.key.keysym.sym == SDLK_F2))
        return false;
    if (editorOpen && editor->event(event))
        return true;
    // A drag over the show, not over a panel, turns the fly camera.
    if (fly->isFlying() && event.type == SDL_MOUSEMOTION && event.motion.state != 0)
    {
        fly->look(static_cast<float>(event.motion.xrel), static_cast<float>(event.motion.yrel));
        return true;
    }
    return false;
}

void DevSession::key(int sdlKey, int modifiers)
{
    // Undo and redo step through the editor's edits, as in any editor.
    if (editorOpen && sdlKey == SDLK_z && (modifiers & KMOD_CTRL))
    {
        commands->run((modifiers & KMOD_SHIFT) ? "redo" : "undo");
        return;
    }
    if (sdlKey == SDLK_F2 && !MRVDemosys::hiddenWindow)
    {
        commands->run(fly->isFlying() ? "camera off" : "camera fly");
        return;
    }
    if (sdlKey != SDLK_F1)
    {
        keys->key(sdlKey, modifiers);
        return;
    }
    // Captures and hidden windows never show it.
    if (!options.editorAllowed || MRVDemosys::hiddenWindow)
        return;
    if (!editor)
    {
        editor.reset(new EditorUi());
        timelineView.reset(new TimelineView());
        inspectorView.reset(new InspectorView());
        consoleView.reset(new ConsoleView());
        // Decoded once, now, rather than at every start of the show.
        waveform.reset(new Waveform());
        if (MRVDemosys::getScriptValue("sound", "play") == "1")
            waveform->load(MRVDemosys::getScriptValue("paths", "sound") + MRVDemosys::getScriptValue("sound", "file"));
        targets = { "screen" };
        for (const auto& entry : MRVDemosys::fboPool->getFBOMap())
            targets.push_back(entry.first);
    }
    editorOpen = !editorOpen && editor->isValid();
    // The path is drawn with the matrices of its scene, kept while the editor shows it.
    MRVDemosys::cameraTakeover.keepMatrices = editorOpen;
    std::cout << (editorOpen ? "Editor on" : "Editor off") << std::endl;
}

void DevSession::afterDraw(unsigned int time, unsigned int row)
{
    // The figures shown are the previous frame's: this one's work ends with
    // the overlay's own drawing, just before the swap.
    if (overlay && overlayShown)
    {
        const ScreenMetrics* screen = MRVDemosys::screenMetrics;
        overlay->draw(time, row, meter.getFps(), meter.getCpuMs(), *MRVDemosys::tracks, screen->getViewportX(),
                      screen->getViewportY(), screen->getViewportWidth(), screen->getViewportHeight());
    }
    if (editorOpen)
    {
        const ScreenMetrics* screen = MRVDemosys::screenMetrics;
        CameraPathView::draw(MRVDemosys::cameraTakeover, MRVDemosys::frames, screen->getViewportX(),
                             screen->getViewportY(), screen->getViewportWidth(), screen->getViewportHeight());
        drawEditor(time);
    }
    meter.workDone();
}

void DevSession::drawEditor(unsigned int time)
{
    TimelineView::Show shown;
    shown.dev = &show;
    shown.tracks = MRVDemosys::tracks;
    shown.waveform = waveform.get();
    shown.time = time;
    editor->beginFrame();
    const TimelineView::Request request = timelineView->draw(shown);
    InspectorView::Show inspected;
    inspected.dev = &show;
    inspected.tracks = MRVDemosys::tracks;
    inspected.object = timelineView->getSelected();
    inspected.time = time;
    inspected.viewStart = timelineView->getViewStart();
    inspected.viewEnd = timelineView->getViewEnd();
    inspected.targets = &targets;
    const CameraTakeover& takeover = MRVDemosys::cameraTakeover;
    inspected.flying = fly->isFlying();
    if (inspected.flying)
        inspected.cameraPose = fly->describe();
    inspected.pathNow = takeover.path && takeover.frame == MRVDemosys::frames;
    std::string edit;
    inspectorView->draw(inspected, edit);
    std::string typed;
    consoleView->draw(typed);
    editor->render();
    if (!edit.empty())
        commands->run(edit);
    if (!typed.empty())
    {
        commands->run(typed);
        consoleView->reply(commands->getLastLine());
    }

    // What the mouse asked for, as the command a script would type.
    switch (request.kind)
    {
    case TimelineView::Request::SCRUB:
        MRVDemosys::timer->setTime(request.from);
        break;
    case TimelineView::Request::SEEK:
        commands->run("seek " + TimelineSyntax::formatTime(request.from));
        break;
    case TimelineView::Request::LOOP:
        commands->run("loop " + TimelineSyntax::formatTime(request.from) + " " + TimelineSyntax::formatTime(request.to));
        break;
    case TimelineView::Request::SPAN:
    {
        commands->run("span " + TimelineSyntax::quote(request.object) + " " +
                      TimelineSyntax::formatRow(request.at, show.rowRate) + " " +
                      TimelineSyntax::formatRow(request.from, show.rowRate) + " " +
                      TimelineSyntax::formatRow(request.to, show.rowRate));
        break;
    }
    case TimelineView::Request::NONE:
        break;
    }
}

void DevSession::afterSwap()
{
    if (MRVDemosys::timer->isFixedStep())
        pacer.pace(MRVDemosys::frames);
}
