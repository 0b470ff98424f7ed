#pragma once

#include "demosys/runtime/FrameObserver.h"

#include <chrono>
#include <cstdio>
#include <string>

// Tells whoever waits for a long capture or video how far it has come: the
// frame, the show time it shows, frames drawn per second and the time left.
// It writes to standard error, so the log on standard output stays as it
// is. On a terminal one line is rewritten in place a few times a second;
// into a file or a pipe a plain line goes out every few seconds, so a log of
// an unattended render stays short. The last frame always gets its line.
//
// It sits in front of the capture: every frame goes on to `next` first, so
// the time it reports includes writing the frames.
class RenderProgress : public FrameObserver
{
public:
    using Clock = std::chrono::steady_clock;

    // `totalFrames` is what the run will draw (frameCount), 0 when unknown.
    RenderProgress(FrameObserver& next, long long totalFrames, int fps, unsigned int startMs, std::FILE* out,
                   bool terminal);

    void frameDrawn(unsigned int frame) override;
    // Prints the line of the last frame drawn and ends it.
    void finish();

    // The frames of a fixed-step run: frame k shows start + k * 1000 / fps
    // ms, and the first frame past the stop time is still drawn. A frame
    // limit of 0 or more caps the count.
    static long long frameCount(unsigned int startMs, unsigned int stopMs, int fps, long long frameLimit);
    // "frame 120/4562  show 0:04.000  57.1 fps  1:18 left"; without a total
    // the count and the time left are left out.
    static std::string describe(long long frame, long long total, unsigned int showMs, double framesPerSecond);

private:
    void report(Clock::time_point now);

    FrameObserver& next;
    long long total;
    int fps;
    unsigned int startMs;
    std::FILE* out;
    bool terminal;
    long long drawn = 0;
    Clock::time_point started;
    Clock::time_point lastReport;
};
