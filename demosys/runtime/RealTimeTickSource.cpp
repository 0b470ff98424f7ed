#include "demosys/runtime/RealTimeTickSource.h"

#include <SDL.h>

unsigned int RealTimeTickSource::getTicks()
{
    return SDL_GetTicks();
}
