#include "demosys/timeline/Track.h"

#include "demosys/timeline/TrackKeyFrame.h"

#include <iostream>
#include <iterator>

Track::~Track()
{
    for (auto& entry : keyframes)
        delete entry.second;
}

void Track::storeKeyframe(TrackKeyFrame* keyframe)
{
    if (!keyframe)
        return;
    TrackKeyFrame*& slot = keyframes[keyframe->row];
    if (slot != keyframe)
        delete slot;
    slot = keyframe;
}

void Track::eraseKeyframe(KeyFrameMap::iterator it)
{
    delete it->second;
    keyframes.erase(it);
}

bool Track::isActive(unsigned int, unsigned int row) const
{
    const auto k = lowerBound(row);
    if (k == keyframes.end())
        return false;
    if (!k->second->isStart())
        return true;
    return k->first == row;
}

void Track::fetchKeyFrameVector(std::vector<TrackKeyFrame*>& out) const
{
    for (const auto& entry : keyframes)
        out.push_back(entry.second);
}

void Track::getKeyFrameRange(unsigned int fromRow, unsigned int toRow, std::vector<TrackKeyFrame*>& out) const
{
    auto k = lowerBound(fromRow);
    if (k == keyframes.end())
        return;
    // A stop first means fromRow is inside an interval: include its start.
    if (!k->second->isStart() && k != keyframes.begin())
        --k;
    for (; k != keyframes.end() && k->first <= toRow; ++k)
        out.push_back(k->second);
    // Likewise close an interval that toRow cuts.
    if (k != keyframes.end() && !k->second->isStart())
        out.push_back(k->second);
}

bool Track::validateKeyframes() const
{
    std::cout << "--> Track::validateKeyframes()" << std::endl;
    if (keyframes.empty())
    {
        std::cout << "--> Track have no keyframes." << std::endl;
        return true;
    }
    bool expectStart = true;
    for (const auto& entry : keyframes)
    {
        const TrackKeyFrame* keyframe = entry.second;
        std::cout << "--> row = " << entry.first << ", row=" << keyframe->row << ", type = " << keyframe->type
                  << std::endl;
        if (expectStart && keyframe->type != TrackKeyFrame::START)
        {
            std::cout << "--> PREVIOUS LINE IS CORRUPT BECAUSE IT'S NOT TAGGED AS A START KEYFRAME!" << std::endl;
            return false;
        }
        if (!expectStart && keyframe->type != TrackKeyFrame::STOP)
        {
            std::cout << "--> PREVIOUS LINE IS CORRUPT BECAUSE IT'S NOT TAGGED AS A STOP KEYFRAME!" << std::endl;
            return false;
        }
        expectStart = !expectStart;
    }
    return true;
}

TrackKeyFrame* Track::getKeyframe(unsigned int row) const
{
    const auto it = keyframes.find(row);
    return it == keyframes.end() ? nullptr : it->second;
}

bool Track::rowExists(unsigned int row) const
{
    return keyframes.find(row) != keyframes.end();
}

bool Track::rowIsStartKeyFrame(unsigned int row) const
{
    const TrackKeyFrame* keyframe = getKeyframe(row);
    return keyframe && keyframe->isStart();
}

long long Track::nextKeyframe(unsigned int row) const
{
    const auto it = keyframes.upper_bound(row);
    return it == keyframes.end() ? -1 : static_cast<long long>(it->first);
}

long long Track::prevKeyframe(unsigned int row) const
{
    const auto it = keyframes.lower_bound(row);
    if (it == keyframes.begin())
        return -1;
    return static_cast<long long>(std::prev(it)->first);
}

bool Track::rangeEmpty(unsigned int fromRow, unsigned int toRow) const
{
    const auto it = keyframes.lower_bound(fromRow);
    return it == keyframes.end() || it->first > toRow;
}

void Track::moveRow(unsigned int fromRow, unsigned int toRow)
{
    if (fromRow == toRow)
        return;
    const auto it = keyframes.find(fromRow);
    if (it == keyframes.end())
        return;
    TrackKeyFrame* keyframe = it->second;
    keyframes.erase(it);
    keyframe->row = toRow;
    storeKeyframe(keyframe);
    std::cout << "Moved row from " << fromRow << " to " << toRow << std::endl;
}
