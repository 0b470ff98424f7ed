#pragma once

#include <string>
#include <vector>

// The music's loudness over time for the editor's ruler: the whole piece
// decoded once, when the editor first opens, into the peak of each 10 ms,
// so that drawing it is a lookup whatever the zoom.
class Waveform
{
public:
    static constexpr unsigned int STEP_MS = 10;

    // False, with nothing kept, when the file cannot be decoded.
    bool load(const std::string& path);

    bool empty() const { return peaks.empty(); }
    // The loudest peak (0 to 1) from `fromMs` to `toMs`.
    float peak(double fromMs, double toMs) const;

private:
    std::vector<float> peaks;
};
