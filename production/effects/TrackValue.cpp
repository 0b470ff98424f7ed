#include "production/effects/TrackValue.h"

#include "demosys/timeline/TrackInterpolate.h"

float TrackValue::at(const TrackInterpolate* track, unsigned int time)
{
    return track ? track->getValue(time) : 0.0f;
}
