#include "tools/mrvsynth/ParamCurve.h"

#include <algorithm>

void ParamCurve::addSegment(uint64_t start, uint64_t end, float from, float to)
{
    if (end > start)
        segments.push_back({start, end, from, to});
}

float ParamCurve::at(uint64_t sample) const
{
    auto after = std::upper_bound(segments.begin(), segments.end(), sample,
                                  [](uint64_t s, const Segment& segment) { return s < segment.start; });
    if (after == segments.begin())
        return value;
    const Segment& segment = *(after - 1);
    if (sample >= segment.end)
        return value;
    const double position = static_cast<double>(sample - segment.start) / static_cast<double>(segment.end - segment.start);
    return static_cast<float>(segment.from + (segment.to - segment.from) * position);
}

void ParamCurve::fill(uint64_t start, size_t count, float* out) const
{
    if (segments.empty())
    {
        std::fill(out, out + count, value);
        return;
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = at(start + i);
}

float ParamCurve::peak() const
{
    float highest = value;
    for (const Segment& segment : segments)
        highest = std::max(highest, std::max(segment.from, segment.to));
    return highest;
}
