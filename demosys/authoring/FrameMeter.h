#pragma once

#include <chrono>

// The overlay's frame figures: the rate frames came at over the last half
// second or so, and the CPU time of the latest frame's work, from the start
// of the frame to the moment before the buffer swap (the swap waits for the
// display when vsync is on, and that wait is not the frame's cost).
class FrameMeter
{
public:
    FrameMeter();

    void frameStarts();
    // Before the swap: closes the frame's work.
    void workDone();

    double getFps() const { return fps; }
    double getCpuMs() const { return cpuMs; }

private:
    std::chrono::steady_clock::time_point frameStart;
    std::chrono::steady_clock::time_point rateStart;
    unsigned int rateFrames = 0;
    double fps = 0.0;
    double cpuMs = 0.0;
};
