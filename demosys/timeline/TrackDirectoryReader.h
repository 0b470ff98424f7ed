#pragma once

#include <string>
#include <vector>

class TrackSystem;

// Loads every track file of a directory, whatever objects it holds, through
// TrackSystemIO. A file name "o.track" is the start/stop track of object o;
// "o.t.track" is track t of object o, split at the first dot (object names
// therefore hold no dot). Targets stay names: no framebuffer pool is asked.
class TrackDirectoryReader
{
public:
    explicit TrackDirectoryReader(const std::string& directory);

    // A new system (owned by the caller) with one group per object, in name
    // order; null when the directory cannot be listed.
    TrackSystem* read();

    // Files that were left out, damaged, or would not be written back to
    // the same bytes.
    const std::vector<std::string>& getWarnings() const { return warnings; }
    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }

private:
    std::string directory;
    std::vector<std::string> warnings;
    std::string errorMessage;
    bool valid = true;
};
