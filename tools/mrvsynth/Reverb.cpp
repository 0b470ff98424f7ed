#include "tools/mrvsynth/Reverb.h"

#include <cmath>

namespace
{
// Lengths at 44.1 kHz, with no common factors so the echoes never line up.
const int COMBS = 8;
const int COMB_LENGTHS[COMBS] = {1123, 1201, 1277, 1361, 1427, 1493, 1559, 1613};
const int ALLPASSES = 4;
const int ALLPASS_LENGTHS[ALLPASSES] = {557, 439, 347, 223};
const int RIGHT_EXTRA = 27;
const float COMB_FEEDBACK = 0.9f;
const float COMB_DAMPING = 0.3f;
const float ALLPASS_FEEDBACK = 0.5f;
const float INPUT_GAIN = 0.09f;
const float PRE_DELAY_SECONDS = 0.025f;
const float SEND_HIGHPASS_HZ = 280.0f;

struct Line
{
    std::vector<float> samples;
    size_t cursor = 0;
    float store = 0.0f;

    explicit Line(size_t length) : samples(length, 0.0f) {}
    float& current() { return samples[cursor]; }
    void advance() { cursor = cursor + 1 == samples.size() ? 0 : cursor + 1; }
};
}

Reverb::Reverb(float sampleRate) : rate(sampleRate)
{
}

void Reverb::process(StereoBuffer& buffer) const
{
    std::vector<float> input(buffer.size());
    const float highpass = std::exp(-6.2831853f * SEND_HIGHPASS_HZ / rate);
    const size_t preDelay = static_cast<size_t>(PRE_DELAY_SECONDS * rate);
    float low = 0.0f;
    for (size_t i = 0; i < buffer.size(); ++i)
    {
        const float mono = 0.5f * (buffer.left[i] + buffer.right[i]);
        low = mono + (low - mono) * highpass;
        if (i + preDelay < buffer.size())
            input[i + preDelay] = (mono - low) * INPUT_GAIN;
    }
    processChannel(input, buffer.left, 0);
    processChannel(input, buffer.right, 1);
}

void Reverb::processChannel(const std::vector<float>& input, std::vector<float>& output, int side) const
{
    const float scale = rate / 44100.0f;
    const int extra = side * RIGHT_EXTRA;
    std::vector<Line> combs;
    for (int c = 0; c < COMBS; ++c)
        combs.emplace_back(static_cast<size_t>((COMB_LENGTHS[c] + extra) * scale));
    std::vector<Line> allpasses;
    for (int a = 0; a < ALLPASSES; ++a)
        allpasses.emplace_back(static_cast<size_t>((ALLPASS_LENGTHS[a] + extra) * scale));

    for (size_t i = 0; i < input.size(); ++i)
    {
        float sum = 0.0f;
        for (Line& comb : combs)
        {
            const float delayed = comb.current();
            comb.store = delayed * (1.0f - COMB_DAMPING) + comb.store * COMB_DAMPING;
            comb.current() = input[i] + comb.store * COMB_FEEDBACK;
            comb.advance();
            sum += delayed;
        }
        for (Line& allpass : allpasses)
        {
            const float delayed = allpass.current();
            allpass.current() = sum + delayed * ALLPASS_FEEDBACK;
            allpass.advance();
            sum = delayed - sum;
        }
        output[i] = sum;
    }
}
