#include "demosys/timeline/TrackStartStop.h"

#include "demosys/timeline/TrackStartStopKeyFrame.h"

#include <iterator>
#include <utility>

TrackStartStop::TrackStartStop(int priority_)
    : priority(priority_), authoredPriority(priority_)
{
}

TrackStartStop::~TrackStartStop() = default;

void TrackStartStop::replaceWith(TrackStartStop& other)
{
    swapKeyframes(other);
    std::swap(priority, other.priority);
    std::swap(authoredPriority, other.authoredPriority);
}

void TrackStartStop::addKeyframe(TrackStartStopKeyFrame* keyframe)
{
    storeKeyframe(keyframe);
}

FrameBufferObject* TrackStartStop::getRenderTarget(unsigned int row) const
{
    const auto k = lowerBound(row);
    if (k == keyframes.end())
        return nullptr;
    if (k->second->isStart())
        return k->first == row ? static_cast<const TrackStartStopKeyFrame*>(k->second)->target : nullptr;
    // A stop: the interval's start is the keyframe before it, if any.
    if (k == keyframes.begin())
        return nullptr;
    return static_cast<const TrackStartStopKeyFrame*>(std::prev(k)->second)->target;
}

unsigned int TrackStartStop::getStartRow(unsigned int row) const
{
    const auto next = keyframes.upper_bound(row);
    if (next == keyframes.end() || next->second->isStart() || next == keyframes.begin())
        return 0;
    return std::prev(next)->first;
}

void TrackStartStop::insertInterval(unsigned int start, unsigned int stop)
{
    addKeyframe(new TrackStartStopKeyFrame(start, TrackKeyFrame::START));
    addKeyframe(new TrackStartStopKeyFrame(stop, TrackKeyFrame::STOP));
}

void TrackStartStop::deleteInterval(unsigned int row)
{
    auto k = keyframes.lower_bound(row);
    if (k == keyframes.end())
        return;
    if (k->second->isStart())
    {
        if (k->first != row)
            return;
        auto stop = std::next(k);
        eraseKeyframe(k);
        if (stop != keyframes.end() && !stop->second->isStart())
            eraseKeyframe(stop);
        return;
    }
    if (k != keyframes.begin())
    {
        auto start = std::prev(k);
        if (start->second->isStart())
            eraseKeyframe(start);
    }
    eraseKeyframe(k);
}
