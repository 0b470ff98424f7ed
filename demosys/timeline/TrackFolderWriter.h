#pragma once

#include <string>
#include <vector>

class TrackSystem;

// Makes a track folder hold exactly one compiled timeline, all or nothing.
//
// Every track file of the system is written (a file that already holds its
// bytes is left alone), and every other track file of the folder, a file
// named NAME.track or NAME.TRACK.track, is removed: an object or track the
// timeline no longer names must not keep playing. Nothing else in the
// folder is touched, but for the temporary files an interrupted write left.
//
// First every new file is written beside its place under a temporary name;
// only when all of them are on disk are they renamed into place and the
// stray files removed. A failure before that point changes nothing; a
// failure while renaming puts back what was already replaced or removed
// (from the bytes read before), so that either the whole new set is in
// place or the folder is as it was. A write that is killed half way leaves
// temporary files and, at worst, a mix of renamed files that the next write
// of the same timeline puts right.
class TrackFolderWriter
{
public:
    explicit TrackFolderWriter(const std::string& directory);

    bool write(const TrackSystem& system);

    // The track files written anew and removed by the last write.
    const std::vector<std::string>& getWritten() const { return written; }
    const std::vector<std::string>& getRemoved() const { return removed; }
    int getTrackFileCount() const { return trackFiles; }
    // Names the file that failed and why.
    const std::string& getErrorMessage() const { return errorMessage; }

private:
    std::string directory;
    std::vector<std::string> written;
    std::vector<std::string> removed;
    int trackFiles = 0;
    std::string errorMessage;
};
