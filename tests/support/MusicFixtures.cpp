#include "tests/support/MusicFixtures.h"

#include "tests/support/TempDir.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

std::string MusicFixtures::tempDir()
{
    // One folder for the whole test binary, removed when it exits.
    static const testsupport::TempDir temp("mrv_sound_tests_");
    return temp.folder();
}

std::string MusicFixtures::tempPath(const std::string& name)
{
    return tempDir() + "/" + name;
}

bool MusicFixtures::writeSound(const std::string& path, int format, int rate, int channels, int64_t frames,
                               const std::function<float(int, int64_t)>& sample)
{
    SF_INFO info = {};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        return false;
    const int64_t block = 4096;
    std::vector<float> buffer(static_cast<size_t>(block * channels));
    bool ok = true;
    for (int64_t first = 0; first < frames && ok; first += block)
    {
        int64_t count = std::min(block, frames - first);
        for (int64_t i = 0; i < count; ++i)
            for (int c = 0; c < channels; ++c)
                buffer[static_cast<size_t>(i * channels + c)] = sample(c, first + i);
        ok = sf_writef_float(file, buffer.data(), count) == count;
    }
    return sf_close(file) == 0 && ok;
}

bool MusicFixtures::writeTone(const std::string& path, int format, int rate, int64_t frames,
                              const std::vector<double>& frequencies, double amplitude)
{
    const double twoPi = 6.283185307179586;
    return writeSound(path, format, rate, static_cast<int>(frequencies.size()), frames,
                      [&](int channel, int64_t frame) {
                          double f = frequencies[static_cast<size_t>(channel)];
                          return static_cast<float>(amplitude * std::sin(twoPi * f * frame / rate));
                      });
}

std::vector<unsigned char> MusicFixtures::moduleBytes()
{
    const int sampleBytes = 64;
    std::vector<unsigned char> bytes;
    auto text = [&](const std::string& s, size_t size) {
        for (size_t i = 0; i < size; ++i)
            bytes.push_back(i < s.size() ? static_cast<unsigned char>(s[i]) : 0);
    };
    auto word = [&](unsigned int w) {
        bytes.push_back(static_cast<unsigned char>(w >> 8));
        bytes.push_back(static_cast<unsigned char>(w & 0xff));
    };
    text("mrv test song", 20);
    // 31 sample headers; only the first is used: 64 bytes, looped whole.
    for (int i = 0; i < 31; ++i)
    {
        text(i == 0 ? "square" : "", 22);
        word(i == 0 ? sampleBytes / 2 : 0);  // length in words
        bytes.push_back(0);                  // finetune
        bytes.push_back(i == 0 ? 64 : 0);    // volume
        word(0);                             // loop start in words
        word(i == 0 ? sampleBytes / 2 : 1);  // loop length in words (1: no loop)
    }
    bytes.push_back(1);    // song length: one order
    bytes.push_back(127);  // restart byte
    for (int i = 0; i < 128; ++i)
        bytes.push_back(0);  // every order plays pattern 0
    text("M.K.", 4);
    // Pattern 0: 64 rows of 4 cells of 4 bytes. Row 0, channel 0: sample 1 at
    // period 428 (C-2); everything else empty.
    std::vector<unsigned char> pattern(64 * 4 * 4, 0);
    const unsigned int period = 428;
    pattern[0] = static_cast<unsigned char>((1 & 0xf0) | (period >> 8));
    pattern[1] = static_cast<unsigned char>(period & 0xff);
    pattern[2] = static_cast<unsigned char>((1 & 0x0f) << 4);
    pattern[3] = 0;
    bytes.insert(bytes.end(), pattern.begin(), pattern.end());
    // The sample: a square wave, signed 8-bit.
    for (int i = 0; i < sampleBytes; ++i)
        bytes.push_back(static_cast<unsigned char>(i < sampleBytes / 2 ? 100 : -100));
    return bytes;
}

bool MusicFixtures::writeBytes(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}
