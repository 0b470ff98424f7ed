#include "tools/mrvsynth/Limiter.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace
{
const float LOOKAHEAD_SECONDS = 0.005f;
const float RELEASE_SECONDS = 0.08f;
}

Limiter::Limiter(float ceilingLevel, float rate)
    : ceiling(ceilingLevel),
      lookahead(std::max<size_t>(1, static_cast<size_t>(LOOKAHEAD_SECONDS * rate))),
      releaseCoefficient(1.0f - std::exp(-1.0f / (RELEASE_SECONDS * rate)))
{
}

void Limiter::process(StereoBuffer& buffer) const
{
    const size_t n = buffer.size();
    // The gain each sample needs on its own.
    std::vector<float> need(n);
    for (size_t i = 0; i < n; ++i)
    {
        const float peak = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        need[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    // The least of the gains needed over the next `lookahead` samples...
    std::vector<float> ahead(n);
    std::deque<size_t> window;
    size_t next = 0;
    for (size_t i = 0; i < n; ++i)
    {
        while (next < n && next < i + lookahead)
        {
            while (!window.empty() && need[window.back()] >= need[next])
                window.pop_back();
            window.push_back(next++);
        }
        while (window.front() < i)
            window.pop_front();
        ahead[i] = need[window.front()];
    }
    // ...averaged over the last `lookahead` samples: every value averaged
    // at sample i saw sample i in its window, so the average never exceeds
    // what sample i needs, and it glides instead of stepping.
    double sum = static_cast<double>(lookahead);
    std::vector<float> history(lookahead, 1.0f);
    float gain = 1.0f;
    for (size_t i = 0; i < n; ++i)
    {
        sum += ahead[i] - history[i % lookahead];
        history[i % lookahead] = ahead[i];
        const float smooth = std::min(static_cast<float>(sum / lookahead), need[i]);
        gain = std::min(smooth, gain + (1.0f - gain) * releaseCoefficient);
        buffer.left[i] *= gain;
        buffer.right[i] *= gain;
    }
}
