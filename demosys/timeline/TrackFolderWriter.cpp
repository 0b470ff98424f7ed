#include "demosys/timeline/TrackFolderWriter.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/File.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

namespace {

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// One file's change: what it held before (for putting it back) and what
// it is to hold.
struct Change
{
    std::string path;
    bool existed = false;
    std::string before;
    bool remove = false;
    std::string after;
    bool done = false;
};

bool readWhole(const std::string& path, std::string& bytes)
{
    const File file(path, File::READ);
    if (!file.exists())
        return false;
    bytes = file.getAsString();
    return true;
}

bool writeWhole(const std::string& path, const std::string& bytes)
{
    File out(path, File::WRITE_TRUNCATE);
    if (!out.exists())
        return false;
    out.put(bytes);
    return out.write();
}

std::string reason()
{
    return errno ? std::string(": ") + std::strerror(errno) : std::string();
}

} // namespace

TrackFolderWriter::TrackFolderWriter(const std::string& directory_)
    : directory(directory_)
{
}

bool TrackFolderWriter::write(const TrackSystem& system)
{
    written.clear();
    removed.clear();
    errorMessage.clear();
    trackFiles = 0;

    TrackSystemIO io(directory);
    std::map<std::string, std::string> wanted;
    for (const auto& entry : system.getTrackGroups())
    {
        const TrackGroup* group = entry.second;
        if (const TrackStartStop* track = group->getStartStopTrack())
            wanted[io.startStopFileName(group->getName())] = TrackSystemIO::startStopBytes(*track);
        for (int i = 0; i < group->getInterpolateTrackCount(); ++i)
        {
            const TrackInterpolate* track = group->getInterpolateTrack(i);
            wanted[io.interpolateFileName(group->getName(), track->getName())] = TrackSystemIO::interpolateBytes(*track);
        }
    }
    trackFiles = static_cast<int>(wanted.size());

    std::vector<Change> changes;
    std::error_code failure;
    for (std::filesystem::directory_iterator it(directory, failure), end; !failure && it != end; it.increment(failure))
    {
        // Spelt as the track file names are, so that they compare.
        const std::string name = it->path().filename().string();
        const std::string path = directory + "/" + name;
        if (endsWith(name, ".track.tmp") && it->is_regular_file())
            std::remove(path.c_str());  // an interrupted write's
        else if (endsWith(name, ".track") && it->is_regular_file() && !wanted.count(path))
        {
            Change change;
            change.path = path;
            change.remove = true;
            change.existed = readWhole(path, change.before);
            changes.push_back(change);
        }
    }
    if (failure)
    {
        errorMessage = "Cannot list track directory '" + directory + "': " + failure.message() + "\n";
        return false;
    }

    for (const auto& file : wanted)
    {
        Change change;
        change.path = file.first;
        change.after = file.second;
        change.existed = readWhole(file.first, change.before);
        if (change.existed && change.before == change.after)
            continue;
        changes.push_back(change);
    }

    auto dropTemporaries = [&changes]() {
        for (const Change& change : changes)
            if (!change.remove && !change.done)
                std::remove(TrackSystemIO::temporaryName(change.path).c_str());
    };
    for (const Change& change : changes)
    {
        if (change.remove)
            continue;
        errno = 0;
        if (!writeWhole(TrackSystemIO::temporaryName(change.path), change.after))
        {
            errorMessage = "Cannot write track file '" + TrackSystemIO::temporaryName(change.path) + "'" + reason() + "\n";
            dropTemporaries();
            return false;
        }
    }

    for (Change& change : changes)
    {
        errno = 0;
        const bool ok = change.remove ? std::remove(change.path.c_str()) == 0
                                      : std::rename(TrackSystemIO::temporaryName(change.path).c_str(),
                                                    change.path.c_str()) == 0;
        if (ok)
        {
            change.done = true;
            continue;
        }
        errorMessage = std::string(change.remove ? "Cannot remove track file '" : "Cannot replace track file '") +
                       change.path + "'" + reason() + "\n";
        // Back to the folder as it was, from the bytes read before.
        for (const Change& undo : changes)
        {
            if (!undo.done)
                continue;
            if (!undo.existed)
                std::remove(undo.path.c_str());
            else if (!File::replace(undo.path, undo.before))
                errorMessage += "Cannot put back track file '" + undo.path + "'\n";
        }
        dropTemporaries();
        return false;
    }

    for (const Change& change : changes)
        (change.remove ? removed : written).push_back(change.path);
    return true;
}
