#pragma once

#include <string>
#include <vector>

class TrackGroup;
class TrackSystem;

// Writes track groups as timeline text that TimelineParser reads back to the
// same tracks: objects in name order, times as rows, start keyframes
// followed by their stop as 'on' intervals, values in the shortest decimal
// that reads back to the same float.
class TimelinePrinter
{
public:
    // warnings receives a line for each keyframe the text cannot hold (a
    // start/stop keyframe whose type is neither start nor stop).
    static std::string print(const TrackSystem& system, std::vector<std::string>& warnings);
    static std::string printGroup(const TrackGroup& group, std::vector<std::string>& warnings);
};
