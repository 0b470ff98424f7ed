#pragma once

// The millisecond counter the music clock measures time with. Real time reads
// SDL's tick counter; a fixed step advances by exactly one frame of a given
// frame rate each time the frame loop calls advanceFrame(), so that a run gives
// the same times, frame for frame, however fast the machine draws.
class TickSource
{
public:
    virtual ~TickSource() = default;

    virtual unsigned int getTicks() = 0;
    // Called once at the end of every frame of the frame loop.
    virtual void advanceFrame() {}
    // A fixed step is not tied to the audio device: the clock then neither
    // sends the music to the device nor follows the device's position.
    virtual bool isFixedStep() const { return false; }
};
