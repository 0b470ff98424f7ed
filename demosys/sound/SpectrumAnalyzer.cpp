#include "demosys/sound/SpectrumAnalyzer.h"

#include <kiss_fftr.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
const int SIZE_COUNT = 8;  // band counts 64, 128, ... 8192
const double TWO_PI = 6.283185307179586;

int sizeIndexOf(int n)
{
    int index = 0;
    for (int size = SpectrumAnalyzer::MIN_BANDS; size < n; size *= 2)
        ++index;
    return index;
}

// Periodic forms (divided by the FFT size, not size - 1): a sine that fits the
// window a whole number of times then lands exactly on one band.
double weight(int type, int i, int size)
{
    double x = TWO_PI * i / size;
    switch (type)
    {
    case SpectrumAnalyzer::WINDOW_TRIANGLE:
        return 1.0 - std::fabs((i - size / 2.0) / (size / 2.0));
    case SpectrumAnalyzer::WINDOW_HAMMING:
        return 0.54 - 0.46 * std::cos(x);
    case SpectrumAnalyzer::WINDOW_HANNING:
        return 0.5 - 0.5 * std::cos(x);
    case SpectrumAnalyzer::WINDOW_BLACKMAN:
        return 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2 * x);
    case SpectrumAnalyzer::WINDOW_BLACKMAN_HARRIS:
        return 0.35875 - 0.48829 * std::cos(x) + 0.14128 * std::cos(2 * x) - 0.01168 * std::cos(3 * x);
    default:
        return 1.0;
    }
}
}

struct SpectrumAnalyzer::Fft
{
    kiss_fftr_cfg configs[SIZE_COUNT] = {};
    std::vector<float> input = std::vector<float>(RING_FRAMES);
    std::vector<kiss_fft_cpx> output = std::vector<kiss_fft_cpx>(RING_FRAMES / 2 + 1);

    ~Fft()
    {
        for (kiss_fftr_cfg config : configs)
            kiss_fftr_free(config);
    }
};

SpectrumAnalyzer::SpectrumAnalyzer(std::unique_ptr<MusicDecoder> d)
    : decoder(std::move(d)), ring(RING_FRAMES * 2, 0.0f), fft(new Fft), windows(SIZE_COUNT * WINDOW_COUNT)
{
}

SpectrumAnalyzer::~SpectrumAnalyzer() = default;

bool SpectrumAnalyzer::isValidRequest(int n, int channelOffset, int windowType)
{
    bool powerOfTwo = n > 0 && (n & (n - 1)) == 0;
    return powerOfTwo && n >= MIN_BANDS && n <= MAX_BANDS && (channelOffset == 0 || channelOffset == 1) &&
           windowType >= 0 && windowType < WINDOW_COUNT;
}

void SpectrumAnalyzer::decodeUntil(uint64_t endFrame)
{
    while (ringEnd < endFrame)
    {
        uint64_t slot = ringEnd % RING_FRAMES;
        uint64_t want = std::min(endFrame - ringEnd, RING_FRAMES - slot);
        float* at = ring.data() + slot * 2;
        size_t got = decoder ? decoder->read(at, static_cast<size_t>(want)) : 0;
        // Past the end of the music: silence, and no more asking.
        if (got < want)
            std::memset(at + got * 2, 0, static_cast<size_t>(want - got) * 2 * sizeof(float));
        ringEnd += want;
        ringCount = std::min(RING_FRAMES, ringCount + want);
    }
}

bool SpectrumAnalyzer::bring(uint64_t endFrame, uint64_t count)
{
    uint64_t start = endFrame > count ? endFrame - count : 0;
    uint64_t oldest = ringEnd - ringCount;
    if (endFrame <= ringEnd && start >= oldest)
        return true;
    // Moving forward by a little (the frame loop's usual step): decode on.
    // Anything else, backwards or a long jump, is a seek.
    uint64_t forwardLimit = decoder ? 2u * static_cast<uint64_t>(decoder->getSampleRate()) : 0;
    bool forward = decoderAtRingEnd && endFrame > ringEnd && start >= oldest && endFrame - ringEnd <= forwardLimit;
    if (!forward)
    {
        if (decoder && !decoder->seek(start))
        {
            error = "cannot seek to frame " + std::to_string(start) + " for the spectrum";
            ringCount = 0;
            decoderAtRingEnd = false;
            return false;
        }
        decoderAtRingEnd = true;
        ringEnd = start;
        ringCount = 0;
    }
    decodeUntil(endFrame);
    return true;
}

const SpectrumAnalyzer::WindowTable& SpectrumAnalyzer::windowFor(int sizeIndex, int fftSize, int windowType)
{
    WindowTable& table = windows[static_cast<size_t>(sizeIndex * WINDOW_COUNT + windowType)];
    if (table.weights.empty())
    {
        table.weights.resize(static_cast<size_t>(fftSize));
        double sum = 0.0;
        for (int i = 0; i < fftSize; ++i)
        {
            table.weights[static_cast<size_t>(i)] = static_cast<float>(weight(windowType, i, fftSize));
            sum += table.weights[static_cast<size_t>(i)];
        }
        table.bandScale = static_cast<float>(2.0 / sum);
        table.dcScale = static_cast<float>(1.0 / sum);
    }
    return table;
}

bool SpectrumAnalyzer::analyse(uint64_t endFrame, float* values, int n, int channelOffset, int windowType)
{
    if (!values || !isValidRequest(n, channelOffset, windowType))
    {
        error = "invalid spectrum request: " + std::to_string(n) + " bands, channel " +
                std::to_string(channelOffset) + ", window " + std::to_string(windowType);
        return false;
    }
    int fftSize = 2 * n;
    int sizeIndex = sizeIndexOf(n);
    if (!bring(endFrame, static_cast<uint64_t>(fftSize)))
        return false;
    kiss_fftr_cfg& config = fft->configs[sizeIndex];
    if (!config)
        config = kiss_fftr_alloc(fftSize, 0, nullptr, nullptr);
    if (!config)
    {
        error = "no memory for a " + std::to_string(fftSize) + "-point FFT";
        return false;
    }
    const WindowTable& table = windowFor(sizeIndex, fftSize, windowType);

    float* input = fft->input.data();
    const float* weights = table.weights.data();
    int64_t first = static_cast<int64_t>(endFrame) - fftSize;
    for (int i = 0; i < fftSize; ++i)
    {
        int64_t frame = first + i;
        float sample = frame < 0 ? 0.0f : ring[(static_cast<uint64_t>(frame) % RING_FRAMES) * 2 + channelOffset];
        input[i] = sample * weights[i];
    }
    kiss_fftr(config, input, fft->output.data());

    const kiss_fft_cpx* bins = fft->output.data();
    values[0] = std::sqrt(bins[0].r * bins[0].r + bins[0].i * bins[0].i) * table.dcScale;
    for (int k = 1; k < n; ++k)
        values[k] = std::sqrt(bins[k].r * bins[k].r + bins[k].i * bins[k].i) * table.bandScale;
    return true;
}
