#include "demosys/timeline/TrackSystem.h"

#include "demosys/gl/FrameBufferObject.h"
#include "demosys/runtime/Effect.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackStartStop.h"

#include <algorithm>
#include <GL/glew.h>

#include <chrono>
#include <iostream>
#include <iterator>

namespace
{
// Groups in the drawing order always have a start/stop track unless a caller
// removed it afterwards; such a group then counts as an empty dummy.
int priorityOf(const TrackGroup* group)
{
    const TrackStartStop* track = group->getStartStopTrack();
    return track ? track->getPriority() : -1;
}
}

TrackSystem::TrackSystem() = default;

TrackSystem::~TrackSystem()
{
    for (auto& entry : groups)
        delete entry.second;
}

bool TrackSystem::setRowRate(int rate)
{
    if (rate <= 0)
    {
        std::cout << "Row rate " << rate << " is not above 0; keeping " << rowRate << "." << std::endl;
        return false;
    }
    rowRate = rate;
    return true;
}

void TrackSystem::addTrackGroup(TrackGroup* group)
{
    if (!group)
        return;
    TrackGroup*& slot = groups[group->getName()];
    if (slot && slot != group)
    {
        sorted.erase(std::remove(sorted.begin(), sorted.end(), slot), sorted.end());
        delete slot;
    }
    slot = group;
}

TrackGroup* TrackSystem::getTrackGroup(int index) const
{
    if (index < 0 || index >= size())
        return nullptr;
    return std::next(groups.begin(), index)->second;
}

TrackGroup* TrackSystem::getTrackGroupByName(const std::string& name) const
{
    const auto it = groups.find(name);
    return it == groups.end() ? nullptr : it->second;
}

void TrackSystem::createPrioritySystem()
{
    sorted.clear();
    for (auto& entry : groups)
    {
        TrackGroup* group = entry.second;
        if (!group->getStartStopTrack())
            group->setStartStopTrack(new TrackStartStop(-1));
        sorted.push_back(group);
    }
    sortPrioritySystem();
}

void TrackSystem::sortPrioritySystem()
{
    const size_t n = sorted.size();
    for (size_t i = 0; i < n; ++i)
    {
        size_t m = i;
        for (size_t j = i + 1; j < n; ++j)
        {
            if (priorityOf(sorted[j]) < priorityOf(sorted[m]))
                m = j;
        }
        std::swap(sorted[i], sorted[m]);
    }
}

void TrackSystem::prioritySanityCheck()
{
    for (size_t i = 0; i < sorted.size(); ++i)
    {
        if (TrackStartStop* track = sorted[i]->getStartStopTrack())
            track->setPriority(static_cast<int>(i));
    }
}

TrackGroup* TrackSystem::getSortedTrackGroup(int index) const
{
    if (index < 0 || index >= getSortedTrackGroupCount())
        return nullptr;
    return sorted[static_cast<size_t>(index)];
}

void TrackSystem::swapTracks(int i, int j)
{
    const int n = getSortedTrackGroupCount();
    if (i < 0 || j < 0 || i >= n || j >= n || i == j)
        return;
    TrackStartStop* a = sorted[static_cast<size_t>(i)]->getStartStopTrack();
    TrackStartStop* b = sorted[static_cast<size_t>(j)]->getStartStopTrack();
    if (a && b)
    {
        const int priorityA = a->getPriority();
        a->setPriority(b->getPriority());
        b->setPriority(priorityA);
    }
    std::swap(sorted[static_cast<size_t>(i)], sorted[static_cast<size_t>(j)]);
}

void TrackSystem::printPriority() const
{
    for (const TrackGroup* group : sorted)
        std::cout << "Priority " << priorityOf(group) << " = " << group->getName() << std::endl;
}

void TrackSystem::processSystem(unsigned int time, unsigned int row, unsigned int frameTime)
{
    for (TrackGroup* group : sorted)
    {
        Effect* effect = group->getEffect();
        if (!effect || !group->isActive(time, row))
            continue;
        FrameBufferObject* fbo = group->getStartStopTrack()->getRenderTarget(row);
        if (fbo)
            fbo->bind();
        if (timing)
        {
            glFinish();
            const auto start = std::chrono::steady_clock::now();
            effect->draw(time, frameTime);
            glFinish();
            DrawTiming& t = timings[group];
            ++t.draws;
            t.totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        }
        else
        {
            effect->draw(time, frameTime);
        }
        if (fbo)
        {
            fbo->release();
            fbo->setClearFlag(true);
        }
    }
}

TrackSystem::DrawTiming TrackSystem::getDrawTiming(const std::string& name) const
{
    const TrackGroup* group = getTrackGroupByName(name);
    const auto it = timings.find(group);
    return it == timings.end() ? DrawTiming() : it->second;
}

bool TrackSystem::validateStartStopTracks() const
{
    std::cout << "Validating StartStop track data." << std::endl;
    for (const TrackGroup* group : sorted)
    {
        std::cout << "-> Checking '" << group->getName() << ".track'" << std::endl;
        const TrackStartStop* track = group->getStartStopTrack();
        if (track && !track->validateKeyframes())
        {
            std::cout << "--> StartStop Track : " << group->getName() << " has keyframe mismatch" << std::endl;
            return false;
        }
    }
    return true;
}

bool TrackSystem::validateInterpolateTracks() const
{
    // Any keyframe sequence is a valid curve.
    return true;
}
