#include "demosys/authoring/DevKeys.h"

#include "demosys/authoring/LiveAuthoring.h"
#include "demosys/authoring/LoopRegion.h"
#include "demosys/runtime/MRVTime.h"
#include "demosys/sound/FMODTimer.h"
#include "demosys/timeline/TimelineSyntax.h"

#include <SDL.h>

#include <iostream>

namespace {

const unsigned int SEEK_STEP_MS = 5000;

} // namespace

std::string DevKeys::moment(unsigned int ms) const
{
    return moment(ms, show.rowRate, show.rowsPerBeat, show.beatsPerBar);
}

std::string DevKeys::moment(unsigned int ms, int rowRate, int rowsPerBeat, int beatsPerBar)
{
    // As the clock counts rows: milliseconds * rowrate / 1000, rounded down.
    const unsigned long long rate = rowRate > 0 ? static_cast<unsigned int>(rowRate) : 0u;
    const unsigned long long row = static_cast<unsigned long long>(ms) * rate / 1000u;
    std::string text = MRVTime(ms).toString() + " row " + std::to_string(row);
    if (rowsPerBeat <= 0)
        return text;
    const unsigned long long perBar = beatsPerBar > 0 ? static_cast<unsigned int>(beatsPerBar) : 1u;
    const unsigned long long beat = row / static_cast<unsigned int>(rowsPerBeat);
    return text + ", bar " + std::to_string(beat / perBar + 1) + " beat " + std::to_string(beat % perBar + 1);
}

void DevKeys::seek(bool forward, int modifiers)
{
    const unsigned int now = show.timer->getTime();
    const bool byRow = (modifiers & KMOD_SHIFT) != 0;
    const bool byBeat = (modifiers & KMOD_CTRL) != 0;
    unsigned int target = 0;
    if (byRow || byBeat)
    {
        if (byBeat && show.rowsPerBeat <= 0)
        {
            std::cout << "No beat to step by: the system block sets no rowsperbeat" << std::endl;
            return;
        }
        // From the start of the row the clock is in, so that steps land on
        // rows, beats and bars exactly and a step back from the middle of
        // one goes to its start.
        const unsigned long long rate = static_cast<unsigned int>(show.rowRate > 0 ? show.rowRate : 1);
        const unsigned long long perBar = static_cast<unsigned int>(show.beatsPerBar > 0 ? show.beatsPerBar : 1);
        const unsigned long long rows = !byBeat ? 1ULL
                                        : byRow ? static_cast<unsigned int>(show.rowsPerBeat) * perBar
                                                : static_cast<unsigned int>(show.rowsPerBeat);
        const unsigned long long step = static_cast<unsigned long long>(now) * rate / 1000u / rows * rows;
        const unsigned int first = TimelineSyntax::rowStart(step, show.rowRate);
        target = forward       ? TimelineSyntax::rowStart(step + rows, show.rowRate)
                 : first < now ? first
                               : TimelineSyntax::rowStart(step >= rows ? step - rows : 0, show.rowRate);
    }
    else
        target = forward ? now + SEEK_STEP_MS : (now > SEEK_STEP_MS ? now - SEEK_STEP_MS : 0);
    // Past the stop time there is no show to see; the author stays on it.
    if (forward && (target > show.stopMs || target < now))
        target = show.stopMs > now ? show.stopMs : now;
    show.timer->setTime(target);
    // The target, not a fresh reading: a running clock may be a tick past it.
    std::cout << "Seek to " << moment(target) << std::endl;
}

void DevKeys::key(int sdlKey, int modifiers)
{
    FMODTimer* timer = show.timer;
    std::string why;
    switch (sdlKey)
    {
    case SDLK_r:
        if (show.authoring)
            show.authoring->reloadShaders();
        break;
    case SDLK_SPACE:
        if (timer->isPaused())
        {
            // Read before play(): afterwards the clock may already have
            // moved on by a tick, and the author wants where it resumed.
            const unsigned int at = timer->getTime();
            timer->play();
            std::cout << "Resumed at " << moment(at) << std::endl;
        }
        else
        {
            timer->pause();
            std::cout << "Paused at " << moment(timer->getTime()) << std::endl;
        }
        break;
    case SDLK_LEFT:
    case SDLK_RIGHT:
        seek(sdlKey == SDLK_RIGHT, modifiers);
        break;
    case SDLK_i:
    case SDLK_o:
    {
        const unsigned int at = timer->getTime();
        const bool kept = sdlKey == SDLK_i ? show.loop->setStart(at, why) : show.loop->setEnd(at, why);
        std::cout << (sdlKey == SDLK_i ? "Loop start at " : "Loop end at ") << moment(at) << std::endl;
        if (!kept)
            std::cout << why << std::endl;
        break;
    }
    case SDLK_l:
        if (!show.loop->toggle(why))
            std::cout << why << std::endl;
        else
            std::cout << (show.loop->isOn() ? "Loop on from " : "Loop off; was from ") << moment(show.loop->getStart())
                      << " to " << moment(show.loop->getEnd()) << std::endl;
        break;
    case SDLK_h:
        if (!show.overlayShown)
            break;
        *show.overlayShown = !*show.overlayShown;
        std::cout << (*show.overlayShown ? "HUD on" : "HUD off") << std::endl;
        break;
    default:
        break;
    }
}
