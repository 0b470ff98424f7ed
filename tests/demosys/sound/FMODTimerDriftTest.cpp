#include "demosys/sound/AudioPositionSource.h"
#include "demosys/sound/FMODTimer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
// SDL's millisecond counter, driven by simulated real time.
class SimulatedTicks : public TickSource
{
public:
    explicit SimulatedTicks(const double* realMs) : realMs(realMs) {}
    unsigned int getTicks() override { return static_cast<unsigned int>(std::floor(*realMs)); }

private:
    const double* realMs;
};

// An audio device whose clock runs at its own speed against real time. With
// a granule, the position moves in whole device buffers, as a device that
// reports only where its mixer is would.
class SimulatedDevice : public AudioPositionSource
{
public:
    bool readHeardPosition(double& ms) override
    {
        if (!running)
            return false;
        ms = granuleMs > 0.0 ? std::floor(positionMs / granuleMs) * granuleMs : positionMs;
        return true;
    }

    double positionMs = 0.0;
    double granuleMs = 0.0;
    bool running = true;
};

struct DriftResult
{
    double worstError = 0.0;
    double worstJump = 0.0;
    bool wentBack = false;
};

// Plays the given simulated minutes at fps frames per second, the device's
// clock first drift (a fraction) fast for half the time, then as much slow.
DriftResult simulate(double fps, double drift, double granuleMs, bool follow, double minutes = 30.0)
{
    double realMs = 1000.0;
    SimulatedDevice device;
    device.granuleMs = granuleMs;
    FMODTimer timer(20);
    timer.setTickSource(std::unique_ptr<TickSource>(new SimulatedTicks(&realMs)));
    if (follow)
        timer.setAudioPositionSource(&device);
    timer.init();
    const unsigned int start = 60000;
    timer.setTime(start);
    timer.play();
    device.positionMs = start;

    DriftResult result;
    const double frameMs = 1000.0 / fps;
    const double total = minutes * 60.0 * 1000.0;
    unsigned int lastTime = timer.getTime();
    unsigned int lastTicks = static_cast<unsigned int>(realMs);
    for (double played = 0.0; played < total; played += frameMs)
    {
        double speed = played < total / 2 ? 1.0 + drift : 1.0 - drift;
        realMs += frameMs;
        device.positionMs += frameMs * speed;
        timer.updateSystem();
        unsigned int time = timer.getTime();
        double heard = 0.0;
        device.readHeardPosition(heard);
        result.worstError = std::max(result.worstError, std::fabs(time - heard));
        unsigned int ticks = static_cast<unsigned int>(realMs);
        double jump = std::fabs(double(time - lastTime) - double(ticks - lastTicks));
        result.worstJump = std::max(result.worstJump, jump);
        result.wentBack = result.wentBack || time < lastTime;
        lastTime = time;
        lastTicks = ticks;
    }
    return result;
}
}

TEST(FMODTimerDriftTest, FollowsADeviceRunningFastThenSlowOverThirtyMinutes)
{
    DriftResult r = simulate(60.0, 0.002, 0.0, true);
    EXPECT_LE(r.worstError, 16.0);
    EXPECT_LE(r.worstJump, 2.0);
    EXPECT_FALSE(r.wentBack);
    // Without following, the same device leaves the picture seconds behind.
    DriftResult loose = simulate(60.0, 0.002, 0.0, false);
    EXPECT_GT(loose.worstError, 1000.0);
}

TEST(FMODTimerDriftTest, HoldsAtOtherFrameRatesAndWithACoarseDevicePosition)
{
    for (double fps : {24.0, 144.0})
    {
        DriftResult r = simulate(fps, 0.002, 0.0, true);
        EXPECT_LE(r.worstError, 16.0) << fps;
        EXPECT_LE(r.worstJump, 2.0) << fps;
    }
    // Positions in 512-frame steps at 48 kHz.
    DriftResult coarse = simulate(60.0, 0.002, 512.0 * 1000.0 / 48000.0, true);
    EXPECT_LE(coarse.worstError, 16.0);
    EXPECT_LE(coarse.worstJump, 2.0);
}

TEST(FMODTimerDriftTest, NeverTurnsBackWhenFramesOutrunTheTickCounter)
{
    DriftResult r = simulate(2000.0, 0.002, 0.0, true, 4.0);
    EXPECT_FALSE(r.wentBack);
    EXPECT_LE(r.worstError, 16.0);
}

TEST(FMODTimerDriftTest, RunsFreeOnceTheMusicHasEnded)
{
    double realMs = 0.0;
    SimulatedDevice device;
    FMODTimer timer(20);
    timer.setTickSource(std::unique_ptr<TickSource>(new SimulatedTicks(&realMs)));
    timer.setAudioPositionSource(&device);
    timer.init();
    timer.setTime(0);
    timer.play();
    device.running = false;  // the music is over: its position stands still
    for (int frame = 1; frame <= 600; ++frame)
    {
        realMs = frame * 10.0;
        timer.updateSystem();
    }
    EXPECT_EQ(6000u, timer.getTime());
}
