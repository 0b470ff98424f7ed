#include "demosys/authoring/TrackReload.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"

#include <memory>
#include <vector>

namespace {

struct GroupTracks
{
    TrackGroup* group;
    std::unique_ptr<TrackStartStop> startStop;
    std::vector<std::unique_ptr<TrackInterpolate>> tracks;
};

} // namespace

bool TrackReload::reloadAll(const std::string& directory, TrackSystem& system, std::string& error)
{
    TrackSystemIO io(directory);
    io.setVerbose(false);
    io.setQuiet(true);

    // Everything is read before anything is replaced, so a bad file leaves
    // the show as it was.
    std::vector<GroupTracks> fresh;
    for (const auto& entry : system.getTrackGroups())
    {
        TrackGroup* group = entry.second;
        GroupTracks read{ group, nullptr, {} };
        read.startStop.reset(io.loadStartStopTrack(group->getName()));
        // A group that had no file at start-up drew nothing and still does.
        if (!read.startStop)
            read.startStop.reset(new TrackStartStop(-1));
        for (int i = 0; i < group->getInterpolateTrackCount(); ++i)
        {
            const std::string& name = group->getInterpolateTrack(i)->getName();
            TrackInterpolate* track = io.loadInterpolateTrack(group->getName(), name);
            read.tracks.emplace_back(track ? track : new TrackInterpolate(name));
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
        if (TrackStartStop* running = read.group->getStartStopTrack())
            running->replaceWith(*read.startStop);
        else
            read.group->setStartStopTrack(read.startStop.release());
        for (int i = 0; i < read.group->getInterpolateTrackCount(); ++i)
            read.group->getInterpolateTrack(i)->replaceKeyframes(*read.tracks[static_cast<size_t>(i)]);
    }
    system.createPrioritySystem();
    system.prioritySanityCheck();
    return true;
}
