#include "tools/mrvsynth/PingPongDelay.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
const float DAMPING_HZ = 4500.0f;
}

PingPongDelay::PingPongDelay(size_t delaySamples, float feedbackGain, float rate)
    : delay(std::max<size_t>(delaySamples, 1)),
      feedback(feedbackGain),
      damping(std::exp(-6.2831853f * DAMPING_HZ / rate))
{
}

void PingPongDelay::process(StereoBuffer& buffer, const ParamCurve& mix) const
{
    const size_t block = 1024;
    float level[block];
    std::vector<float> lineLeft(delay, 0.0f);
    std::vector<float> lineRight(delay, 0.0f);
    float toneLeft = 0.0f;
    float toneRight = 0.0f;
    size_t cursor = 0;
    for (size_t i = 0; i < buffer.size(); ++i)
    {
        if (i % block == 0)
            mix.fill(i, std::min(block, buffer.size() - i), level);
        const float echoLeft = lineLeft[cursor];
        const float echoRight = lineRight[cursor];
        toneLeft = echoLeft + (toneLeft - echoLeft) * damping;
        toneRight = echoRight + (toneRight - echoRight) * damping;
        // The dry signal enters on the left only; the right line hears the
        // left's echo, and the left hears the right's: the ping-pong.
        lineLeft[cursor] = 0.5f * (buffer.left[i] + buffer.right[i]) + toneRight * feedback;
        lineRight[cursor] = toneLeft * feedback;
        buffer.left[i] += echoLeft * level[i % block];
        buffer.right[i] += echoRight * level[i % block];
        cursor = cursor + 1 == delay ? 0 : cursor + 1;
    }
}
