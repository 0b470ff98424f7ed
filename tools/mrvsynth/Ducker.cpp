#include "tools/mrvsynth/Ducker.h"

#include <algorithm>

namespace
{
// Short enough that the kick still cuts through, long enough to leave no
// click in the pads.
const float ATTACK_SECONDS = 0.004f;
const float RECOVERY_SECONDS = 0.28f;
}

Ducker::Ducker(std::vector<uint64_t> hitSamples, float rate)
    : hits(std::move(hitSamples)), attack(ATTACK_SECONDS * rate), recovery(RECOVERY_SECONDS * rate)
{
    std::sort(hits.begin(), hits.end());
}

float Ducker::shape(uint64_t sinceHit) const
{
    const float t = static_cast<float>(sinceHit);
    if (t < attack)
        return t / attack;
    const float x = (t - attack) / recovery;
    return x >= 1.0f ? 0.0f : (1.0f - x) * (1.0f - x);
}

void Ducker::fill(uint64_t start, size_t count, float* out) const
{
    // The index of the first hit after the current sample.
    size_t next = static_cast<size_t>(std::upper_bound(hits.begin(), hits.end(), start) - hits.begin());
    for (size_t i = 0; i < count; ++i)
    {
        const uint64_t sample = start + i;
        while (next < hits.size() && hits[next] <= sample)
            ++next;
        // The two latest hits overlap while the older one is still rising
        // or falling, so the curve never jumps.
        float value = 0.0f;
        if (next >= 1)
            value = shape(sample - hits[next - 1]);
        if (next >= 2)
            value = std::max(value, shape(sample - hits[next - 2]));
        out[i] = value;
    }
}
