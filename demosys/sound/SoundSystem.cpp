#include "demosys/sound/SoundSystem.h"

#include "demosys/sound/DeviceOutput.h"
#include "demosys/sound/MusicDecoder.h"
#include "demosys/sound/SilentOutput.h"
#include "demosys/sound/SoundChannel.h"
#include "demosys/sound/SoundStream.h"
#include "mrvutils/ReadLog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>

SoundSystem::SoundSystem() = default;

SoundSystem::~SoundSystem()
{
    // The output thread reads channels and streams: stop it before they go.
    if (output)
        output->close();
    outputOpen = false;
}

SoundResult SoundSystem::init(int maxChannels, unsigned int f)
{
    if (initialised)
        return SOUND_OK;
    if (maxChannels < 1 || maxChannels > MAX_CHANNELS)
    {
        error = "channel count " + std::to_string(maxChannels) + " is not between 1 and " +
                std::to_string(MAX_CHANNELS);
        return SOUND_ERR_INVALID_PARAM;
    }
    flags = f;
    for (int i = 0; i < maxChannels; ++i)
        channels.emplace_back(new SoundChannel(this));
    scratch.assign(MIX_FRAMES * 2, 0.0f);
    initialised = true;
    return SOUND_OK;
}

void SoundSystem::useOutput(std::unique_ptr<SoundOutput> o)
{
    if (outputOpen)
        return;
    output = std::move(o);
    outputInjected = output != nullptr;
}

SoundResult SoundSystem::createStream(const std::string& path, SoundStream** stream)
{
    if (!stream)
        return SOUND_ERR_INVALID_PARAM;
    *stream = nullptr;
    if (!initialised)
    {
        error = "the sound system is not initialised";
        return SOUND_ERR_NOT_INITIALISED;
    }
    std::FILE* probe = std::fopen(path.c_str(), "rb");
    if (!probe)
    {
        error = "cannot open '" + path + "': " + std::strerror(errno);
        return SOUND_ERR_FILE_NOT_FOUND;
    }
    std::fclose(probe);
    std::string reason;
    std::unique_ptr<MusicDecoder> playback = MusicDecoder::open(path, reason);
    if (!playback)
    {
        error = reason;
        return SOUND_ERR_FORMAT;
    }
    std::unique_ptr<MusicDecoder> analysis = MusicDecoder::open(path, reason);
    if (!analysis)
    {
        error = reason;
        return SOUND_ERR_FORMAT;
    }
    ReadLog::record(path);
    streams.emplace_back(new SoundStream(this, path, std::move(playback), std::move(analysis)));
    *stream = streams.back().get();
    return SOUND_OK;
}

SoundResult SoundSystem::releaseStream(SoundStream* stream)
{
    auto found = std::find_if(streams.begin(), streams.end(),
                              [stream](const std::unique_ptr<SoundStream>& s) { return s.get() == stream; });
    if (found == streams.end())
        return SOUND_ERR_INVALID_HANDLE;
    lockOutput();
    for (auto& channel : channels)
        if (channel->getStream() == stream)
            channel->detach();
    unlockOutput();
    streams.erase(found);
    return SOUND_OK;
}

SoundResult SoundSystem::playSound(SoundStream* stream, bool paused, SoundChannel** channel)
{
    if (!channel)
        return SOUND_ERR_INVALID_PARAM;
    *channel = nullptr;
    if (!initialised)
    {
        error = "the sound system is not initialised";
        return SOUND_ERR_NOT_INITIALISED;
    }
    bool known = std::any_of(streams.begin(), streams.end(),
                             [stream](const std::unique_ptr<SoundStream>& s) { return s.get() == stream; });
    if (!known)
    {
        error = "playSound: not a stream of this sound system";
        return SOUND_ERR_INVALID_HANDLE;
    }
    lockOutput();
    // One decoder, one cursor: a stream sounds on one channel at a time.
    for (auto& c : channels)
        if (c->getStream() == stream)
            c->detach();
    SoundChannel* free = nullptr;
    for (auto& c : channels)
        if (!c->getStream())
        {
            free = c.get();
            break;
        }
    if (free)
        free->start(stream, true);
    unlockOutput();
    if (!free)
    {
        error = "playSound: all " + std::to_string(channels.size()) + " channels are in use";
        return SOUND_ERR_NO_FREE_CHANNEL;
    }
    *channel = free;
    return paused ? SOUND_OK : free->setPaused(false);
}

SoundResult SoundSystem::openOutput(int sampleRate, const SoundChannel* asking)
{
    if (outputOpen && output->getSampleRate() == sampleRate)
        return SOUND_OK;
    if (outputOpen)
    {
        lockOutput();
        bool othersAudible = std::any_of(channels.begin(), channels.end(), [asking](const std::unique_ptr<SoundChannel>& c) {
            return c.get() != asking && c->isAudible();
        });
        unlockOutput();
        if (othersAudible)
        {
            error = "a stream at " + std::to_string(sampleRate) + " Hz cannot sound beside one at " +
                    std::to_string(output->getSampleRate()) + " Hz";
            return SOUND_ERR_FORMAT;
        }
        output->close();
        outputOpen = false;
    }
    if (outputInjected)
    {
        if (!output->open(sampleRate, renderOutput, this))
        {
            error = output->getErrorMessage();
            return SOUND_ERR_OUTPUT;
        }
        outputOpen = true;
        return SOUND_OK;
    }
    if (flags & INIT_SILENT_OUTPUT)
        return openFallback(sampleRate, "");
    std::unique_ptr<SoundOutput> device(new DeviceOutput);
    if (device->open(sampleRate, renderOutput, this))
    {
        output = std::move(device);
        outputOpen = true;
        return SOUND_OK;
    }
    return openFallback(sampleRate, device->getErrorMessage());
}

SoundResult SoundSystem::openFallback(int sampleRate, const std::string& reason)
{
    std::unique_ptr<SoundOutput> silent(new SilentOutput);
    if (!silent->open(sampleRate, renderOutput, this))
    {
        error = silent->getErrorMessage();
        return SOUND_ERR_OUTPUT;
    }
    if (!reason.empty())
        std::cout << "No audio device (" << reason << "): the music plays on silently at real-time speed"
                  << std::endl;
    output = std::move(silent);
    outputOpen = true;
    return SOUND_OK;
}

SoundResult SoundSystem::update()
{
    if (!initialised)
        return SOUND_ERR_NOT_INITIALISED;
    if (outputOpen && !outputInjected && output->isLost())
    {
        int rate = output->getSampleRate();
        output->close();
        outputOpen = false;
        return openFallback(rate, "the audio device went away");
    }
    return SOUND_OK;
}

bool SoundSystem::isSilentOutput() const
{
    return outputOpen && output->isSilent();
}

void SoundSystem::lockOutput()
{
    if (outputOpen)
        output->lock();
}

void SoundSystem::unlockOutput()
{
    if (outputOpen)
        output->unlock();
}

void SoundSystem::renderOutput(void* self, float* out, int frames, uint64_t stamp)
{
    static_cast<SoundSystem*>(self)->mix(out, frames, stamp);
}

void SoundSystem::mix(float* out, int frames, uint64_t stamp)
{
    std::memset(out, 0, static_cast<size_t>(frames) * 2 * sizeof(float));
    for (int done = 0; done < frames;)
    {
        int piece = std::min(frames - done, MIX_FRAMES);
        for (auto& channel : channels)
            channel->render(out + done * 2, scratch.data(), piece, stamp);
        done += piece;
    }
}
