#pragma once

#include <string>
#include <vector>

class TrackSystem;

// Reads every track file of the running track system again and puts the new
// keyframes into the tracks the groups already hold, so that the pointers
// effects fetched in init() stay good. The drawing order is rebuilt from the
// files' priorities, as at start-up.
class TrackReload
{
public:
    // What a track file that is not there means.
    enum class Missing
    {
        // Right after a compile wrote the folder: the timeline no longer
        // names it, so it reads as a missing file does at load (an empty
        // track; an effect without a start/stop track stops drawing).
        EMPTY,
        // Deleted or unreadable under the running show: its last good
        // content stays until a later good read; the file is listed.
        KEEP,
    };

    // All or nothing: a damaged file changes no track, and error says which
    // file and why.
    static bool reloadAll(const std::string& directory, TrackSystem& system, Missing missing, std::string& error,
                          std::vector<std::string>& missingFiles);
};
