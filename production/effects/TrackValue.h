#pragma once

class TrackInterpolate;

// Reading an effect's animated values.
class TrackValue
{
public:
    // The track's value at time; a track the group never got reads 0, as an
    // empty one does.
    static float at(const TrackInterpolate* track, unsigned int time);
};
