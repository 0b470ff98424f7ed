#include "demosys/authoring/TrackReload.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"

#include <memory>
#include <vector>

namespace {

// Null entries keep the running track.
struct GroupTracks
{
    TrackGroup* group;
    std::unique_ptr<TrackStartStop> startStop;
    std::vector<std::unique_ptr<TrackInterpolate>> tracks;
};

} // namespace

bool TrackReload::reloadAll(const std::string& directory, TrackSystem& system, Missing missing, std::string& error,
                            std::vector<std::string>& missingFiles)
{
    TrackSystemIO io(directory);
    io.setVerbose(false);
    io.setQuiet(true);
    missingFiles.clear();

    // Everything is read before anything is replaced, so a bad file leaves
    // the show as it was.
    std::vector<GroupTracks> fresh;
    for (const auto& entry : system.getTrackGroups())
    {
        TrackGroup* group = entry.second;
        GroupTracks read{ group, nullptr, {} };
        read.startStop.reset(io.loadStartStopTrack(group->getName()));
        if (!read.startStop)
        {
            // A group that had no file at start-up drew nothing and still
            // does, whatever the mode.
            const std::string file = io.startStopFileName(group->getName());
            const bool hadFile = group->getStartStopTrack() && group->getStartStopTrack()->getKeyframeCount() > 0;
            if (missing == Missing::EMPTY || !hadFile)
                read.startStop.reset(new TrackStartStop(-1));
            else
                missingFiles.push_back(file);
        }
        for (int i = 0; i < group->getInterpolateTrackCount(); ++i)
        {
            const std::string& name = group->getInterpolateTrack(i)->getName();
            TrackInterpolate* track = io.loadInterpolateTrack(group->getName(), name);
            if (!track && missing == Missing::EMPTY)
                track = new TrackInterpolate(name);
            else if (!track && group->getInterpolateTrack(i)->getKeyframeCount() > 0)
                missingFiles.push_back(io.interpolateFileName(group->getName(), name));
            else if (!track)
                track = new TrackInterpolate(name);
            read.tracks.emplace_back(track);
        }
        if (!io.getDamagedFiles().empty())
        {
            error = io.getLastDamage();
            return false;
        }
        fresh.push_back(std::move(read));
    }

    for (GroupTracks& read : fresh)
    {
        TrackStartStop* running = read.group->getStartStopTrack();
        if (read.startStop && running)
            running->replaceWith(*read.startStop);
        else if (read.startStop)
            read.group->setStartStopTrack(read.startStop.release());
        // The order is built from the priorities as written, for kept tracks
        // too, not from the places the last build numbered.
        if (TrackStartStop* track = read.group->getStartStopTrack())
            track->setPriority(track->getAuthoredPriority());
        for (int i = 0; i < read.group->getInterpolateTrackCount(); ++i)
            if (read.tracks[static_cast<size_t>(i)])
                read.group->getInterpolateTrack(i)->replaceKeyframes(*read.tracks[static_cast<size_t>(i)]);
    }
    system.createPrioritySystem();
    system.prioritySanityCheck();
    return true;
}
