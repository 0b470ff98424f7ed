#pragma once

// Where the music clock reads the position that is being heard, so that it can
// follow the audio device instead of drifting away from it. The sound channel
// is the real source; tests put a simulated device in its place.
class AudioPositionSource
{
public:
    virtual ~AudioPositionSource() = default;

    // The audible position in milliseconds (fractions kept). False while the
    // music is paused, stopped or has ended: then there is nothing to follow.
    virtual bool readHeardPosition(double& ms) = 0;
};
