#include "demosys/timeline/TimelinePrinter.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TimelineSyntax.h"

#include <iterator>

namespace
{
std::string targetSuffix(const TrackStartStopKeyFrame* keyframe)
{
    return keyframe->drawsToScreen() ? std::string() : " " + TimelineSyntax::quote(keyframe->targetName);
}

void printStartStop(const std::string& object, const TrackStartStop& track, std::string& text,
                    std::vector<std::string>& warnings)
{
    text += "priority " + std::to_string(track.getPriority()) + "\n";
    const Track::KeyFrameMap& keyframes = track.getKeyframes();
    for (auto it = keyframes.begin(); it != keyframes.end(); ++it)
    {
        const auto* keyframe = static_cast<const TrackStartStopKeyFrame*>(it->second);
        const std::string row = std::to_string(it->first);
        if (keyframe->type == TrackKeyFrame::START)
        {
            const auto next = std::next(it);
            if (next != keyframes.end() && next->second->type == TrackKeyFrame::STOP)
            {
                text += "on " + row + " " + std::to_string(next->first) + targetSuffix(keyframe) + "\n";
                it = next;
            }
            else
            {
                text += "start " + row + targetSuffix(keyframe) + "\n";
            }
        }
        else if (keyframe->type == TrackKeyFrame::STOP)
        {
            text += "stop " + row + "\n";
        }
        else
        {
            warnings.push_back("object '" + object + "': the keyframe at row " + row + " has type " +
                               std::to_string(keyframe->type) + ", neither start (1) nor stop (0); left out");
        }
    }
}
}

std::string TimelinePrinter::printGroup(const TrackGroup& group, std::vector<std::string>& warnings)
{
    std::string text = "object " + TimelineSyntax::quote(group.getName()) + "\n";
    if (const TrackStartStop* startStop = group.getStartStopTrack())
        printStartStop(group.getName(), *startStop, text, warnings);
    for (int i = 0; i < group.getInterpolateTrackCount(); ++i)
    {
        const TrackInterpolate* track = group.getInterpolateTrack(i);
        text += "track " + TimelineSyntax::quote(track->getName()) + "\n";
        for (const auto& entry : track->getKeyframes())
        {
            const auto* keyframe = static_cast<const TrackKeyFrameInterpolate*>(entry.second);
            text += "  " + std::to_string(entry.first) + " " + TimelineSyntax::curveName(keyframe->interpolation) +
                    " " + TimelineSyntax::formatValue(keyframe->value) + "\n";
        }
    }
    return text;
}

std::string TimelinePrinter::print(const TrackSystem& system, std::vector<std::string>& warnings)
{
    std::string text = "# Track timeline written by mrvtrack dump; times are rows.\n";
    for (const auto& entry : system.getTrackGroups())
        text += "\n" + printGroup(*entry.second, warnings);
    return text;
}
