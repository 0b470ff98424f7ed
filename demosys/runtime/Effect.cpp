#include "demosys/runtime/Effect.h"

#include "demosys/timeline/TrackGroup.h"

#include <iostream>

Effect::~Effect() = default;

void Effect::draw(unsigned int, unsigned int)
{
    std::cout << "Fallback draw method! This should never happen!" << std::endl;
}

void Effect::init()
{
}

void Effect::reset()
{
}

void Effect::musicEvent()
{
    std::cout << "Fallback music event method called! This should never happen!" << std::endl;
}

Effect* Effect::getInstance()
{
    return new Effect();
}

void Effect::registerTracks()
{
}

std::vector<FixedResource> Effect::getFixedResources() const
{
    return {};
}

void Effect::addTrackName(const std::string& name)
{
    trackNames.push_back(name);
}

std::string Effect::getTrackName(int index) const
{
    if (index < 0 || index >= getTrackCount())
        return std::string();
    return trackNames[static_cast<size_t>(index)];
}

TrackInterpolate* Effect::getTrack(const std::string& name)
{
    return trackGroup ? trackGroup->getInterpolateTrackByName(name) : nullptr;
}
