#pragma once

#include "tools/mrvsynth/StereoBuffer.h"

#include <vector>

// A hall of about two seconds: parallel damped feedback combs per side,
// then all-pass diffusers; the right side's delays are a little longer than
// the left's, which makes the tail wide. The send is thinned below a few
// hundred hertz first so that the low end stays dry and tight.
class Reverb
{
public:
    explicit Reverb(float rate);

    // Replaces the send in buffer with the reverberated signal.
    void process(StereoBuffer& buffer) const;

private:
    void processChannel(const std::vector<float>& input, std::vector<float>& output, int side) const;

    float rate;
};
