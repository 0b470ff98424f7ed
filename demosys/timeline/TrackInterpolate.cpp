#include "demosys/timeline/TrackInterpolate.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackSystem.h"

#include <cmath>
#include <iterator>

namespace
{
const double HALF_PI = 3.14159265358979323846 * 0.5;

const TrackKeyFrameInterpolate* asValue(const TrackKeyFrame* keyframe)
{
    return static_cast<const TrackKeyFrameInterpolate*>(keyframe);
}
}

TrackInterpolate::TrackInterpolate(const std::string& name_)
    : name(name_)
{
}

TrackInterpolate::~TrackInterpolate() = default;

void TrackInterpolate::addKeyframe(TrackKeyFrameInterpolate* keyframe)
{
    storeKeyframe(keyframe);
}

float TrackInterpolate::getValue(unsigned int time) const
{
    // Tracks can be read before the loader has installed the system (tools,
    // tests); they then run at the system's default rate.
    const TrackSystem* system = MRVDemosys::tracks;
    const int rate = system ? system->getRowRate() : TrackSystem::DEFAULT_ROW_RATE;
    return getValue(time, static_cast<unsigned int>(rate));
}

float TrackInterpolate::getValue(unsigned int time, unsigned int rowRate) const
{
    if (keyframes.empty())
        return 0.0f;
    const unsigned int row = time * rowRate / 1000u;
    const auto next = keyframes.upper_bound(row);
    if (next == keyframes.begin())
        return asValue(next->second)->value;
    if (next == keyframes.end())
        return asValue(std::prev(next)->second)->value;

    const TrackKeyFrameInterpolate* prev = asValue(std::prev(next)->second);
    const TrackKeyFrameInterpolate* following = asValue(next->second);
    // The fractional row, so values move smoothly within a row.
    const float c = static_cast<float>(time) / (1000.0f / static_cast<float>(rowRate));
    const float d = (c - static_cast<float>(prev->row)) / static_cast<float>(following->row - prev->row);
    const float vp = prev->value;
    const float vn = following->value;
    switch (prev->interpolation)
    {
    case TrackKeyFrameInterpolate::COSINE_FAST_START: return cosine(vp, vn, d, true);
    case TrackKeyFrameInterpolate::COSINE_SLOW_START: return cosine(vp, vn, d, false);
    case TrackKeyFrameInterpolate::STEP: return step(vp, vn, d);
    case TrackKeyFrameInterpolate::RAMP: return ramp(vp, vn, d);
    default: return linear(vp, vn, d);
    }
}

float TrackInterpolate::linear(float from, float to, float d)
{
    return from + d * (to - from);
}

float TrackInterpolate::cosine(float from, float to, float d, bool fastStart)
{
    const float f = fastStart ? static_cast<float>(std::cos((1.0 - d) * HALF_PI))
                              : static_cast<float>(1.0 - std::cos(d * HALF_PI));
    return from + (to - from) * f;
}

float TrackInterpolate::ramp(float from, float to, float d)
{
    return from + d * d * (to - from);
}

float TrackInterpolate::step(float from, float, float)
{
    return from;
}

void TrackInterpolate::getKeyFrameRange(unsigned int fromRow, unsigned int toRow,
                                        std::vector<TrackKeyFrame*>& out) const
{
    auto k = lowerBound(fromRow);
    if (k == keyframes.end())
        return;
    // fromRow between two keyframes: the earlier one shapes the curve there.
    if (k->first > fromRow && k != keyframes.begin())
        out.push_back(std::prev(k)->second);
    for (; k != keyframes.end() && k->first <= toRow; ++k)
        out.push_back(k->second);
    if (k != keyframes.end())
        out.push_back(k->second);
}

TrackKeyFrameInterpolate* TrackInterpolate::getClosestKeyframe(unsigned int row) const
{
    const auto next = keyframes.upper_bound(row);
    if (next == keyframes.end() || next == keyframes.begin())
        return nullptr;
    return static_cast<TrackKeyFrameInterpolate*>(std::prev(next)->second);
}

void TrackInterpolate::deleteKeyframe(unsigned int row)
{
    const auto k = keyframes.lower_bound(row);
    if (k == keyframes.end())
        return;
    if (k->first == row)
        eraseKeyframe(k);
    else if (k != keyframes.begin())
        eraseKeyframe(std::prev(k));
}
