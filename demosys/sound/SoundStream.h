#pragma once

#include "demosys/sound/MusicDecoder.h"
#include "demosys/sound/SoundResult.h"
#include "demosys/sound/SpectrumAnalyzer.h"

#include <cstdint>
#include <memory>
#include <string>

class SoundSystem;

// One music file opened for streaming: a decoder for playback and one for the
// spectrum, each decoding as it goes. Owned by the SoundSystem that created it;
// it plays on at most one channel at a time.
class SoundStream
{
public:
    SoundStream(SoundSystem* owner, const std::string& path, std::unique_ptr<MusicDecoder> playback,
                std::unique_ptr<MusicDecoder> analysis);

    SoundStream(const SoundStream&) = delete;
    SoundStream& operator=(const SoundStream&) = delete;

    // Length in milliseconds, rounded down.
    SoundResult getLength(unsigned int* ms) const;
    unsigned int getLengthMs() const;
    uint64_t getLengthFrames() const { return playback->getLengthFrames(); }
    int getSampleRate() const { return playback->getSampleRate(); }
    const std::string& getPath() const { return path; }

    // Stops the channel playing it and frees it; the pointer is dead after.
    SoundResult release();

    MusicDecoder& getPlaybackDecoder() { return *playback; }
    SpectrumAnalyzer& getAnalyzer() { return analyzer; }

private:
    SoundSystem* owner;
    std::string path;
    std::unique_ptr<MusicDecoder> playback;
    SpectrumAnalyzer analyzer;
};
