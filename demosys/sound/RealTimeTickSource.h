#pragma once

#include "demosys/sound/TickSource.h"

// SDL's millisecond tick counter.
class RealTimeTickSource : public TickSource
{
public:
    unsigned int getTicks() override;
};
