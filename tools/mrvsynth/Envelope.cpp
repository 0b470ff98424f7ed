#include "tools/mrvsynth/Envelope.h"

#include <cmath>

namespace
{
// ln(1000): the factor per second that falls by 60 dB.
const float FALL_60DB = 6.9077553f;
}

Envelope::Envelope(float attack, float decay, float sustainLevel, float release, float rate)
    : attackStep(1.0f / (attack * rate)),
      decayFactor(std::exp(-FALL_60DB / (decay * rate))),
      sustain(sustainLevel),
      releaseFactor(std::exp(-FALL_60DB / (release * rate)))
{
}

float Envelope::next(bool gate)
{
    if (!gate)
    {
        releasing = true;
        attacking = false;
    }
    if (releasing)
        level *= releaseFactor;
    else if (attacking)
    {
        level += attackStep;
        if (level >= 1.0f)
        {
            level = 1.0f;
            attacking = false;
        }
    }
    else
        level = sustain + (level - sustain) * decayFactor;
    return level;
}
