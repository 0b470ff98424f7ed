#include "demosys/sound/SoundChannel.h"

#include "demosys/sound/SoundOutput.h"
#include "demosys/sound/SoundStream.h"
#include "demosys/sound/SoundSystem.h"

#include <SDL.h>

#include <algorithm>

namespace
{
// RAII for the output lock, so that no early return leaves it held.
class OutputLock
{
public:
    explicit OutputLock(SoundSystem* s) : system(s) { system->lockOutput(); }
    ~OutputLock() { system->unlockOutput(); }
    OutputLock(const OutputLock&) = delete;
    OutputLock& operator=(const OutputLock&) = delete;

private:
    SoundSystem* system;
};
}

SoundChannel::SoundChannel(SoundSystem* s)
    : system(s)
{
}

void SoundChannel::start(SoundStream* s, bool p)
{
    stream = s;
    paused = p;
    ended = false;
    cursor = 0;
    seekPending = true;
    floorFrame = 0;
    rendered = false;
}

void SoundChannel::detach()
{
    stream = nullptr;
    paused = true;
    ended = false;
    rendered = false;
}

SoundResult SoundChannel::setPaused(bool p)
{
    if (!stream)
        return SOUND_ERR_INVALID_HANDLE;
    if (!p)
    {
        SoundResult opened = system->openOutput(stream->getSampleRate(), this);
        if (opened != SOUND_OK)
            return opened;
    }
    OutputLock lock(system);
    if (p == paused)
        return SOUND_OK;
    if (p)
    {
        // Resume where the listener stopped hearing, not where the mixer got to.
        uint64_t heard = heardFrame();
        if (heard != cursor)
        {
            cursor = heard;
            seekPending = true;
        }
    }
    paused = p;
    floorFrame = cursor;
    rendered = false;
    return SOUND_OK;
}

SoundResult SoundChannel::getPaused(bool* p)
{
    if (!p)
        return SOUND_ERR_INVALID_PARAM;
    if (!stream)
        return SOUND_ERR_INVALID_HANDLE;
    OutputLock lock(system);
    *p = paused;
    return SOUND_OK;
}

SoundResult SoundChannel::setPosition(unsigned int ms)
{
    if (!stream)
        return SOUND_ERR_INVALID_HANDLE;
    uint64_t rate = static_cast<uint64_t>(stream->getSampleRate());
    return setPositionFrames((static_cast<uint64_t>(ms) * rate + 999u) / 1000u);
}

SoundResult SoundChannel::setPositionFrames(uint64_t frame)
{
    if (!stream)
        return SOUND_ERR_INVALID_HANDLE;
    OutputLock lock(system);
    // The decoder moves on the output thread, when the sound is next needed:
    // a paused channel that is only positioned (fixed-step runs) never seeks.
    cursor = frame;
    seekPending = true;
    ended = false;
    floorFrame = frame;
    rendered = false;
    return SOUND_OK;
}

SoundResult SoundChannel::getPosition(unsigned int* ms)
{
    if (!ms)
        return SOUND_ERR_INVALID_PARAM;
    uint64_t frame = 0;
    SoundResult result = getPositionFrames(&frame);
    if (result != SOUND_OK)
        return result;
    *ms = static_cast<unsigned int>(frame * 1000u / static_cast<uint64_t>(stream->getSampleRate()));
    return SOUND_OK;
}

SoundResult SoundChannel::getPositionFrames(uint64_t* frame)
{
    if (!frame)
        return SOUND_ERR_INVALID_PARAM;
    if (!stream)
        return SOUND_ERR_INVALID_HANDLE;
    OutputLock lock(system);
    *frame = heardFrame();
    return SOUND_OK;
}

SoundResult SoundChannel::isPlaying(bool* playing)
{
    if (!playing)
        return SOUND_ERR_INVALID_PARAM;
    OutputLock lock(system);
    *playing = stream && !ended;
    return SOUND_OK;
}

SoundResult SoundChannel::stop()
{
    OutputLock lock(system);
    detach();
    return SOUND_OK;
}

SoundResult SoundChannel::getSpectrum(float* values, int n, int channelOffset, int windowType)
{
    if (!values || !SpectrumAnalyzer::isValidRequest(n, channelOffset, windowType))
        return SOUND_ERR_INVALID_PARAM;
    if (!stream)
        return SOUND_ERR_INVALID_HANDLE;
    uint64_t frame = 0;
    getPositionFrames(&frame);
    return stream->getAnalyzer().analyse(frame, values, n, channelOffset, windowType) ? SOUND_OK : SOUND_ERR_DECODE;
}

bool SoundChannel::readHeardPosition(double& ms)
{
    if (!stream)
        return false;
    OutputLock lock(system);
    if (paused || ended)
        return false;
    ms = static_cast<double>(heardFrame()) * 1000.0 / stream->getSampleRate();
    return true;
}

uint64_t SoundChannel::heardFrame() const
{
    const SoundOutput* output = system->getOutput();
    if (paused || !rendered || !output)
        return cursor;
    // Between requests the listener moves on at the sample rate, from where
    // the last request put them, but no further than the output vouches for.
    uint64_t frequency = SDL_GetPerformanceFrequency();
    uint64_t elapsed = SDL_GetPerformanceCounter() - chunkStamp;
    uint64_t rate = static_cast<uint64_t>(stream->getSampleRate());
    int64_t moved = static_cast<int64_t>(elapsed / frequency * rate + elapsed % frequency * rate / frequency);
    moved = std::min(moved, output->getAdvanceLimit(chunkFrames));
    int64_t heard = static_cast<int64_t>(chunkEnd) - output->getLeadFrames(chunkFrames) + moved;
    heard = std::min(heard, static_cast<int64_t>(chunkEnd));
    heard = std::max(heard, static_cast<int64_t>(floorFrame));
    return static_cast<uint64_t>(heard);
}

void SoundChannel::render(float* mix, float* scratch, int frames, uint64_t stamp)
{
    if (!isAudible() || frames <= 0)
        return;
    MusicDecoder& decoder = stream->getPlaybackDecoder();
    if (seekPending)
    {
        seekPending = false;
        if (!decoder.seek(cursor))
        {
            ended = true;
            return;
        }
    }
    size_t got = decoder.read(scratch, static_cast<size_t>(frames));
    for (size_t i = 0; i < got * 2; ++i)
        mix[i] += scratch[i];
    // A request the mixer had to split arrives in pieces with one stamp.
    if (rendered && stamp == chunkStamp)
        chunkFrames += static_cast<int>(got);
    else
        chunkFrames = static_cast<int>(got);
    chunkStamp = stamp;
    cursor += got;
    chunkEnd = cursor;
    rendered = true;
    if (got < static_cast<size_t>(frames))
        ended = true;
}
