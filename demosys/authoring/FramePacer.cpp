#include "demosys/authoring/FramePacer.h"

#include <SDL.h>

void FramePacer::start()
{
    startTicks = SDL_GetTicks();
}

void FramePacer::pace(unsigned long long framesShown) const
{
    if (fps == 0)
        return;
    const unsigned long long due = startTicks + framesShown * 1000ULL / fps;
    const unsigned int now = SDL_GetTicks();
    if (due > now)
        SDL_Delay(static_cast<Uint32>(due - now));
}
