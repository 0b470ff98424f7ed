#pragma once

#include <string>

class TrackSystem;

// Reads every track file of the running track system again and puts the new
// keyframes into the tracks the groups already hold, so that the pointers
// effects fetched in init() stay good. The drawing order is rebuilt from the
// files' priorities, as at start-up.
class TrackReload
{
public:
    // All or nothing: a damaged or deleted file changes no track, and error
    // says which file and why.
    static bool reloadAll(const std::string& directory, TrackSystem& system, std::string& error);
};
