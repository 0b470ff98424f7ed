#pragma once

#include "tools/mrvsynth/ParamCurve.h"
#include "tools/mrvsynth/Score.h"
#include "tools/mrvsynth/StereoBuffer.h"

#include <vector>

class Ducker;

// Plays a score into stereo samples: every track's notes through its
// instrument, its echo, level, pan and ducking, a shared reverb, a DC cut
// and a limiter. The result depends on the score alone.
class SongRenderer
{
public:
    // The limiter's ceiling, 2 dB under full scale: Vorbis rebuilds sharp
    // peaks (hats on a kick) up to about 1.5 dB higher than they went in.
    static constexpr float CEILING = 0.794f;

    explicit SongRenderer(const Score& score) : score(score) {}

    // Score::lengthSamples() frames at Score::SAMPLE_RATE.
    StereoBuffer render() const;
    // The same, interleaved left, right, left, ...
    std::vector<float> renderInterleaved() const;

private:
    using Curves = std::vector<ParamCurve>;

    std::vector<Curves> buildCurves() const;
    std::vector<uint64_t> kickHits(const std::vector<std::vector<ScoreNote>>& notes) const;
    void renderTrack(int track, const std::vector<ScoreNote>& notes, const Curves& curves, StereoBuffer& out) const;
    void mixTrack(const StereoBuffer& track, const Curves& curves, const Ducker& ducker, StereoBuffer& master,
                  StereoBuffer& send) const;
    void finish(StereoBuffer& master) const;

    const Score& score;
};
