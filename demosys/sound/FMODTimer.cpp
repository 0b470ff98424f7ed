#include "demosys/sound/FMODTimer.h"

#include "demosys/sound/AudioPositionSource.h"
#include "demosys/sound/FixedStepTickSource.h"
#include "demosys/sound/RealTimeTickSource.h"
#include "demosys/sound/SoundChannel.h"
#include "demosys/sound/SoundStream.h"
#include "demosys/sound/SpectrumAnalyzer.h"
#include "demosys/sound/SoundSystem.h"

#include <algorithm>
#include <cmath>
#include <iostream>

namespace
{
const int CHANNELS = 32;
}

FMODTimer::FMODTimer(const std::string& name, unsigned int rate)
    : fileName(name), rowRate(rate), silent(false), ticks(new RealTimeTickSource)
{
}

FMODTimer::FMODTimer(unsigned int rate)
    : rowRate(rate), silent(true), ticks(new RealTimeTickSource)
{
}

FMODTimer::~FMODTimer()
{
    dispose();
}

void FMODTimer::setTickSource(std::unique_ptr<TickSource> source)
{
    if (source)
        ticks = std::move(source);
}

void FMODTimer::useFixedStep(unsigned int fps)
{
    ticks.reset(new FixedStepTickSource(fps));
}

bool FMODTimer::init()
{
    if (silent)
    {
        std::cout << "No music: the clock runs silently" << std::endl;
        // Running from here on: a loader that only positions the clock for a
        // production without music still gets moving time.
        paused = false;
        startTicks = pauseTicks = lastTime = now();
        return true;
    }
    // A second init() loads the music afresh instead of leaking the first.
    dispose();
    system.reset(new SoundSystem);
    std::cout << "Fmod Version = " << system->getVersion() << std::endl;
    SoundResult result = system->init(CHANNELS);
    if (result != SOUND_OK)
    {
        std::cout << "Failed to initialize FMOD! Error code: " << result << std::endl;
        message = "Failed to initialize FMOD!";
        return false;
    }
    result = system->createStream(fileName, &sound);
    if (!sound)
    {
        std::cout << "Failed to create sound sysmte sound! Error code: " << result << std::endl;
        std::cout << system->getErrorMessage() << std::endl;
        message = "FMOD Init : Failed to load soundfile!";
        return false;
    }
    sound->getLength(&endTime);
    // A row rate above 1000 makes the whole milliseconds per row 0: count the
    // rows from the rate itself then, rather than divide by zero.
    unsigned int msPerRow = rowRate > 0 ? 1000u / rowRate : 0u;
    if (msPerRow > 0)
        endRow = endTime / msPerRow;
    else
        endRow = static_cast<unsigned int>(static_cast<unsigned long long>(endTime) * rowRate / 1000u);
    result = system->playSound(sound, true, &channel);
    if (result != SOUND_OK)
    {
        std::cout << "Failed to play sound! Error code: " << result << std::endl;
        message = "Failed to play sound!";
        return false;
    }
    if (!positionSource)
        positionSource = channel;
    startTicks = pauseTicks = lastTime = now();
    return true;
}

void FMODTimer::updateSystem()
{
    if (system)
        system->update();
    if (paused)
        return;
    if (isFixedStep())
    {
        if (channel)
            channel->setPosition(getTime());
        return;
    }
    followAudio();
}

void FMODTimer::followAudio()
{
    double heard = 0.0;
    if (!positionSource || !positionSource->readHeardPosition(heard))
    {
        followed = false;
        return;
    }
    unsigned int t = now();
    unsigned int clock = t - startTicks;
    double errorUs = (heard - static_cast<double>(clock)) * 1000.0;
    long long step = static_cast<long long>(std::llround(errorUs / SLEW_DIVISOR));
    step = std::max<long long>(-SLEW_MAX_US, std::min<long long>(SLEW_MAX_US, step));
    slewCarryUs += step;
    if (slewCarryUs >= 1000)
    {
        // Clock behind the music: one millisecond forward.
        --startTicks;
        slewCarryUs -= 1000;
    }
    else if (slewCarryUs <= -1000)
    {
        // Clock ahead: one millisecond back, unless that would show an earlier
        // time than the previous frame did (frames faster than the tick).
        if (!followed || clock - 1u >= followedTime)
        {
            ++startTicks;
            slewCarryUs += 1000;
        }
        else
        {
            slewCarryUs = -1000;
        }
    }
    followedTime = t - startTicks;
    followed = true;
}

unsigned int FMODTimer::getTime()
{
    return (paused ? pauseTicks : now()) - startTicks;
}

unsigned int FMODTimer::getRow()
{
    return ((paused ? pauseTicks : now()) - startTicks) * rowRate / 1000u;
}

unsigned int FMODTimer::updateFrameTime(unsigned int time)
{
    if (paused)
        return 0;
    unsigned int frameTime = time - lastTime;
    lastTime = time;
    return frameTime;
}

void FMODTimer::setTime(unsigned int ms)
{
    if (channel)
        channel->setPosition(ms);
    updateSDLTime(ms);
}

void FMODTimer::setRow(unsigned int row)
{
    setTime(rowRate > 0 ? row * 1000u / rowRate : 0u);
}

unsigned int FMODTimer::getRowTime()
{
    return rowRate > 0 ? getRow() * 1000u / rowRate : 0u;
}

void FMODTimer::play()
{
    // A silent clock's position is its own time, read while still stopped.
    unsigned int p = silent ? getTime() : 0u;
    paused = false;
    // A fixed step keeps the music off the device; the channel only follows.
    if (channel && !isFixedStep())
        channel->setPaused(false);
    if (!silent)
        p = getFMODTime();
    startTicks = now() - p;
    lastTime = p;
    followed = false;
    slewCarryUs = 0;
}

void FMODTimer::pause()
{
    paused = true;
    if (channel)
        channel->setPaused(true);
    pauseTicks = now();
}

void FMODTimer::updateSDLTime(unsigned int ms)
{
    unsigned int t = now();
    startTicks = t - ms;
    pauseTicks = t;
    lastTime = ms;
    followed = false;
    slewCarryUs = 0;
}

unsigned int FMODTimer::getFMODTime()
{
    if (!channel)
        return silent ? getTime() : 0u;
    unsigned int ms = 0;
    channel->getPosition(&ms);
    return ms;
}

SoundResult FMODTimer::getSpectrum(float* values, int n, int channelOffset, int windowType)
{
    if (channel)
        return channel->getSpectrum(values, n, channelOffset, windowType);
    if (!values || !SpectrumAnalyzer::isValidRequest(n, channelOffset, windowType))
        return SOUND_ERR_INVALID_PARAM;
    std::fill(values, values + n, 0.0f);
    return SOUND_OK;
}

bool FMODTimer::dispose()
{
    if (!system)
        return true;
    bool stopped = true;
    if (channel)
    {
        bool playing = false;
        SoundResult asked = channel->isPlaying(&playing);
        SoundResult stop = channel->stop();
        stopped = asked == SOUND_OK && stop == SOUND_OK;
    }
    if (!stopped)
        message = "Failed to shut down FMOD!";
    // Our layer can always let go, so nothing is left behind even then.
    if (sound)
        sound->release();
    system.reset();
    sound = nullptr;
    if (positionSource == channel)
        positionSource = nullptr;
    channel = nullptr;
    return stopped;
}
