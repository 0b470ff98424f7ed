#include "demosys/sound/MusicDecoder.h"
#include "demosys/sound/SpectrumAnalyzer.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
const int RATE = 48000;

std::string path;

// Ten seconds of two tones, written once per run into the temporary directory.
std::string musicFile()
{
    if (!path.empty())
        return path;
    std::string candidate = "/tmp/mrv_spectrum_bench_" + std::to_string(::getpid()) + ".wav";
    SF_INFO info = {};
    info.samplerate = RATE;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(candidate.c_str(), SFM_WRITE, &info);
    if (!file)
        return path;
    std::vector<float> frames(RATE * 2);
    for (int second = 0; second < 10; ++second)
    {
        for (int i = 0; i < RATE; ++i)
        {
            double t = static_cast<double>(second * RATE + i) / RATE;
            frames[static_cast<size_t>(i) * 2] = static_cast<float>(0.5 * std::sin(6.283185307179586 * 440.0 * t));
            frames[static_cast<size_t>(i) * 2 + 1] = static_cast<float>(0.5 * std::sin(6.283185307179586 * 3000.0 * t));
        }
        sf_writef_float(file, frames.data(), RATE);
    }
    sf_close(file);
    path = candidate;
    return path;
}

std::unique_ptr<SpectrumAnalyzer> openAnalyzer(benchmark::State& state)
{
    std::string error;
    std::string path = musicFile();
    std::unique_ptr<MusicDecoder> decoder = path.empty() ? nullptr : MusicDecoder::open(path, error);
    if (!decoder)
    {
        state.SkipWithError(("no music to analyse: " + error).c_str());
        return nullptr;
    }
    return std::unique_ptr<SpectrumAnalyzer>(new SpectrumAnalyzer(std::move(decoder)));
}

// What the Frequency effect asks every frame: 512 bands, Hamming, at a
// position one 60 Hz frame further on each time (decoding the new frames).
void BM_Spectrum512PerFrame(benchmark::State& state)
{
    std::unique_ptr<SpectrumAnalyzer> analyzer = openAnalyzer(state);
    if (!analyzer)
        return;
    std::vector<float> values(512);
    const uint64_t step = RATE / 60;
    uint64_t position = RATE;
    for (auto _ : state)
    {
        analyzer->analyse(position, values.data(), 512, 0, SpectrumAnalyzer::WINDOW_HAMMING);
        benchmark::DoNotOptimize(values.data());
        position += step;
        if (position > 9u * RATE)
            position = RATE;
    }
}
BENCHMARK(BM_Spectrum512PerFrame);

// The second call of a frame (the other channel): no decoding, FFT only.
void BM_Spectrum512SamePosition(benchmark::State& state)
{
    std::unique_ptr<SpectrumAnalyzer> analyzer = openAnalyzer(state);
    if (!analyzer)
        return;
    std::vector<float> values(512);
    for (auto _ : state)
    {
        analyzer->analyse(2 * RATE, values.data(), 512, 1, SpectrumAnalyzer::WINDOW_HAMMING);
        benchmark::DoNotOptimize(values.data());
    }
}
BENCHMARK(BM_Spectrum512SamePosition);

// Removes the file when the benchmark binary ends.
struct RemoveMusic
{
    ~RemoveMusic()
    {
        if (!path.empty())
            std::remove(path.c_str());
    }
} removeMusic;
}
