#pragma once

#include "demosys/sound/MusicDecoder.h"

#include <memory>
#include <string>
#include <vector>

struct sf_private_tag;

// Sampled music read through libsndfile. Mono is sent to both sides; of more
// than two channels the first two are kept.
class SndfileDecoder : public MusicDecoder
{
public:
    static std::unique_ptr<SndfileDecoder> open(const std::string& path, std::string& error);
    ~SndfileDecoder() override;

    SndfileDecoder(const SndfileDecoder&) = delete;
    SndfileDecoder& operator=(const SndfileDecoder&) = delete;

    bool seek(uint64_t frame) override;
    size_t read(float* out, size_t frames) override;

    int getChannels() const { return channels; }

private:
    SndfileDecoder(sf_private_tag* file, int channels, int sampleRate, uint64_t lengthFrames);

    // Frames converted per libsndfile call when the file is not stereo.
    static constexpr size_t BLOCK_FRAMES = 1024;

    sf_private_tag* file;
    int channels;
    bool atEnd = false;
    std::vector<float> block;
};
