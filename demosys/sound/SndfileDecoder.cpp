#include "demosys/sound/SndfileDecoder.h"

#include <sndfile.h>

#include <algorithm>

namespace
{
// Beyond these the header is garbage rather than an unusual file.
const int MAX_CHANNELS = 256;
const int MAX_RATE = 768000;
}

std::unique_ptr<SndfileDecoder> SndfileDecoder::open(const std::string& path, std::string& error)
{
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
    {
        error = sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.channels > MAX_CHANNELS || info.samplerate < 1 || info.samplerate > MAX_RATE ||
        info.frames < 0)
    {
        error = "implausible header: " + std::to_string(info.channels) + " channels at " +
                std::to_string(info.samplerate) + " Hz";
        sf_close(file);
        return nullptr;
    }
    return std::unique_ptr<SndfileDecoder>(
        new SndfileDecoder(file, info.channels, info.samplerate, static_cast<uint64_t>(info.frames)));
}

SndfileDecoder::SndfileDecoder(sf_private_tag* f, int ch, int rate, uint64_t length)
    : file(f), channels(ch)
{
    sampleRate = rate;
    lengthFrames = length;
    if (channels != 2)
        block.resize(BLOCK_FRAMES * static_cast<size_t>(channels));
}

SndfileDecoder::~SndfileDecoder()
{
    sf_close(file);
}

bool SndfileDecoder::seek(uint64_t frame)
{
    if (frame >= lengthFrames)
    {
        atEnd = true;
        return true;
    }
    atEnd = sf_seek(file, static_cast<sf_count_t>(frame), SEEK_SET) < 0;
    return !atEnd;
}

size_t SndfileDecoder::read(float* out, size_t frames)
{
    if (atEnd)
        return 0;
    if (channels == 2)
        return static_cast<size_t>(sf_readf_float(file, out, static_cast<sf_count_t>(frames)));

    size_t done = 0;
    while (done < frames)
    {
        size_t want = std::min(BLOCK_FRAMES, frames - done);
        sf_count_t got = sf_readf_float(file, block.data(), static_cast<sf_count_t>(want));
        if (got <= 0)
            break;
        for (sf_count_t i = 0; i < got; ++i)
        {
            const float* in = block.data() + i * channels;
            float* o = out + (done + static_cast<size_t>(i)) * 2;
            o[0] = in[0];
            o[1] = channels == 1 ? in[0] : in[1];
        }
        done += static_cast<size_t>(got);
        if (static_cast<size_t>(got) < want)
            break;
    }
    return done;
}
