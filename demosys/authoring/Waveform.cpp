#include "demosys/authoring/Waveform.h"

#include "demosys/sound/MusicDecoder.h"

#include <algorithm>
#include <cmath>

bool Waveform::load(const std::string& path)
{
    peaks.clear();
    std::string error;
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(path, error);
    if (!decoder || decoder->getSampleRate() <= 0)
        return false;
    const size_t framesPerStep = static_cast<size_t>(decoder->getSampleRate()) * STEP_MS / 1000u;
    std::vector<float> block(2 * std::max<size_t>(framesPerStep, 1));
    for (;;)
    {
        const size_t frames = decoder->read(block.data(), framesPerStep);
        if (frames == 0)
            break;
        float loudest = 0.0f;
        for (size_t i = 0; i < 2 * frames; ++i)
            loudest = std::max(loudest, std::fabs(block[i]));
        peaks.push_back(std::min(loudest, 1.0f));
        if (frames < framesPerStep)
            break;
    }
    return !peaks.empty();
}

float Waveform::peak(double fromMs, double toMs) const
{
    if (peaks.empty() || toMs < 0.0)
        return 0.0f;
    const size_t first = static_cast<size_t>(std::max(0.0, fromMs) / STEP_MS);
    const size_t last = std::min(peaks.size(), static_cast<size_t>(std::max(0.0, toMs) / STEP_MS) + 1);
    float loudest = 0.0f;
    for (size_t i = first; i < last; ++i)
        loudest = std::max(loudest, peaks[i]);
    return loudest;
}
