#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Music files the sound tests write for themselves, in a temporary directory
// of their own: tones and ramps through libsndfile, and a tiny ProTracker
// module put together byte by byte.
class MusicFixtures
{
public:
    // A fresh directory under the system's temporary directory, made on first
    // use and shared by the tests of this process.
    static std::string tempDir();
    static std::string tempPath(const std::string& name);

    // sample(channel, frame) for every frame of every channel; format is a
    // libsndfile format (SF_FORMAT_WAV | SF_FORMAT_FLOAT, ...).
    static bool writeSound(const std::string& path, int format, int rate, int channels, int64_t frames,
                           const std::function<float(int channel, int64_t frame)>& sample);
    // A sine per channel (0 Hz: silence) at the given amplitude.
    static bool writeTone(const std::string& path, int format, int rate, int64_t frames,
                          const std::vector<double>& frequencies, double amplitude);
    // The frequency of band k of an n-band spectrum at rate.
    static double bandFrequency(int k, int n, int rate) { return k * static_cast<double>(rate) / (2.0 * n); }

    // A four-channel "M.K." module: one looped 8-bit sample struck on row 0 of
    // the only pattern, played at the default speed 6 / tempo 125, so the song
    // lasts 64 rows x 120 ms = 7680 ms.
    static std::vector<unsigned char> moduleBytes();
    static constexpr unsigned int MODULE_LENGTH_MS = 7680;

    static bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
};
