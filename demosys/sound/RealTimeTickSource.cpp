#include "demosys/sound/RealTimeTickSource.h"

#include <SDL.h>

unsigned int RealTimeTickSource::getTicks()
{
    return SDL_GetTicks();
}
