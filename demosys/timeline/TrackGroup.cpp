#include "demosys/timeline/TrackGroup.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackSystem.h"

TrackGroup::TrackGroup(const std::string& name_)
    : name(name_)
{
}

TrackGroup::~TrackGroup()
{
    delete startStopTrack;
    for (TrackInterpolate* track : tracks)
        delete track;
}

void TrackGroup::setStartStopTrack(TrackStartStop* track)
{
    if (track != startStopTrack)
        delete startStopTrack;
    startStopTrack = track;
}

void TrackGroup::addInterpolateTrack(TrackInterpolate* track)
{
    if (!track)
        return;
    tracksByName[track->getName()] = track;
    tracks.push_back(track);
}

TrackInterpolate* TrackGroup::getInterpolateTrackByName(const std::string& trackName) const
{
    const auto it = tracksByName.find(trackName);
    return it == tracksByName.end() ? nullptr : it->second;
}

TrackInterpolate* TrackGroup::getInterpolateTrack(int index) const
{
    if (index < 0 || index >= getInterpolateTrackCount())
        return nullptr;
    return tracks[static_cast<size_t>(index)];
}

bool TrackGroup::isActive(unsigned int time, unsigned int row) const
{
    return startStopTrack && startStopTrack->isActive(time, row);
}

unsigned int TrackGroup::getLocalTime(unsigned int row, unsigned int time) const
{
    if (!startStopTrack)
        return time;
    const TrackSystem* system = MRVDemosys::tracks;
    const int rate = system ? system->getRowRate() : TrackSystem::DEFAULT_ROW_RATE;
    // Whole milliseconds per row, as the rows were counted.
    const unsigned int msPerRow = 1000u / static_cast<unsigned int>(rate);
    const unsigned int start = startStopTrack->getStartRow(row) * msPerRow;
    return start < time ? time - start : 0;
}
