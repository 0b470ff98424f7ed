#include "demosys/authoring/FrameMeter.h"

namespace {

double millisecondsBetween(std::chrono::steady_clock::time_point from, std::chrono::steady_clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

} // namespace

FrameMeter::FrameMeter()
    : frameStart(std::chrono::steady_clock::now()), rateStart(frameStart)
{
}

void FrameMeter::frameStarts()
{
    frameStart = std::chrono::steady_clock::now();
}

void FrameMeter::workDone()
{
    const auto now = std::chrono::steady_clock::now();
    cpuMs = millisecondsBetween(frameStart, now);
    ++rateFrames;
    const double sinceRate = millisecondsBetween(rateStart, now);
    if (sinceRate < 500.0)
        return;
    fps = rateFrames * 1000.0 / sinceRate;
    rateFrames = 0;
    rateStart = now;
}
