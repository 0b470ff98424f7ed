#include "demosys/timeline/TrackDirectoryReader.h"

#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/File.h"

#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

namespace
{
const std::string SUFFIX = ".track";
const char* const NOT_REPRODUCED = "holds more than its keyframes (a row used twice, rows out of order, a stored "
                                   "name \"screen\" or bytes after the records); a compile of this dump will not "
                                   "reproduce it";

// The track reader logs to standard output; a dump owns standard output, so
// the log is held back while files are read.
class QuietStdout
{
public:
    QuietStdout()
        : saved(std::cout.rdbuf(sink.rdbuf()))
    {
    }
    ~QuietStdout() { std::cout.rdbuf(saved); }

private:
    std::ostringstream sink;
    std::streambuf* saved;
};

// The size TrackSystemIO would write for the track; a file of another size
// holds something a save drops (a row used twice, bytes after the records).
long long startStopSize(const TrackStartStop& track)
{
    long long size = 8;
    for (const auto& entry : track.getKeyframes())
    {
        const auto* keyframe = static_cast<const TrackStartStopKeyFrame*>(entry.second);
        size += 8;
        if (keyframe->isStart())
            size += keyframe->drawsToScreen() ? 1 : static_cast<long long>(keyframe->targetName.size()) + 1;
    }
    return size;
}

// The compiler takes only starts and stops that alternate, beginning with a
// start; a file holding two of a kind in a row, or a stop first, dumps to
// text it refuses.
bool alternates(const TrackStartStop& track)
{
    bool expectStart = true;
    for (const auto& entry : track.getKeyframes())
    {
        if (entry.second->isStart() != expectStart)
            return false;
        expectStart = !expectStart;
    }
    return true;
}

long long interpolateSize(const TrackInterpolate& track)
{
    return 4 + 12LL * track.getKeyframeCount();
}

// A save writes the records sorted by row, so a file whose records come in
// another order keeps its size but not its bytes. Only asked of files that
// read completely.
bool rowsAscending(const std::string& path, bool startStop)
{
    File file(path, File::READ);
    if (startStop)
        file.readInt();
    const int count = file.readInt();
    long long previous = -1;
    for (int i = 0; i < count && !file.hasOverrun(); ++i)
    {
        const long long row = static_cast<unsigned int>(file.readInt());
        const int type = file.readInt();
        if (!startStop)
            file.readFloat();
        else if (type == TrackKeyFrame::START)
            while (file.bytesLeft() > 0 && file.readChar() != '\0')
            {
            }
        if (row <= previous)
            return false;
        previous = row;
    }
    return true;
}
}

TrackDirectoryReader::TrackDirectoryReader(const std::string& directory_)
    : directory(directory_)
{
}

TrackSystem* TrackDirectoryReader::read()
{
    namespace fs = std::filesystem;
    std::error_code failure;
    fs::directory_iterator it(directory, failure);
    if (failure)
    {
        valid = false;
        errorMessage = "Cannot list track directory '" + directory + "': " + failure.message() + "\n";
        return nullptr;
    }

    // object -> has a start/stop file, and its track names.
    std::map<std::string, bool> objects;
    std::map<std::string, std::set<std::string>> tracks;
    std::map<std::string, long long> sizes;
    for (; it != fs::directory_iterator(); it.increment(failure))
    {
        std::error_code ignored;
        const std::string file = it->path().filename().string();
        if (!it->is_regular_file(ignored) || file.size() <= SUFFIX.size() ||
            file.compare(file.size() - SUFFIX.size(), SUFFIX.size(), SUFFIX) != 0)
            continue;
        const std::string stem = file.substr(0, file.size() - SUFFIX.size());
        const size_t dot = stem.find('.');
        const std::string object = stem.substr(0, dot);
        const std::string track = dot == std::string::npos ? std::string() : stem.substr(dot + 1);
        if (object.empty() || (dot != std::string::npos && track.empty()))
        {
            warnings.push_back("'" + directory + "/" + file + "' names no object and track; left out");
            continue;
        }
        sizes[file] = static_cast<long long>(it->file_size(ignored));
        if (dot == std::string::npos)
            objects[object] = true;
        else
        {
            objects.emplace(object, false);
            tracks[object].insert(track);
        }
    }
    if (failure)
    {
        valid = false;
        errorMessage = "Cannot list track directory '" + directory + "': " + failure.message() + "\n";
        return nullptr;
    }

    TrackSystemIO io(directory);
    io.setVerbose(false);
    io.setResolveTargets(false);
    TrackSystem* system = new TrackSystem();
    {
        QuietStdout quiet;
        for (const auto& entry : objects)
        {
            const std::string& object = entry.first;
            TrackGroup* group = new TrackGroup(object);
            system->addTrackGroup(group);
            if (entry.second)
            {
                const size_t damaged = io.getDamagedFiles().size();
                TrackStartStop* startStop = io.loadStartStopTrack(object);
                group->setStartStopTrack(startStop);
                if (startStop && damaged == io.getDamagedFiles().size() &&
                    (startStopSize(*startStop) != sizes[object + SUFFIX] ||
                     !rowsAscending(io.startStopFileName(object), true)))
                    warnings.push_back("'" + io.startStopFileName(object) + "' " + NOT_REPRODUCED);
                if (startStop && !alternates(*startStop))
                    warnings.push_back("'" + io.startStopFileName(object) +
                                       "' does not alternate starts and stops beginning with a start; a compile of "
                                       "this dump will refuse it");
            }
            for (const std::string& name : tracks[object])
            {
                const size_t damaged = io.getDamagedFiles().size();
                TrackInterpolate* track = io.loadInterpolateTrack(object, name);
                if (!track)
                    continue;
                group->addInterpolateTrack(track);
                if (damaged == io.getDamagedFiles().size() &&
                    (interpolateSize(*track) != sizes[object + "." + name + SUFFIX] ||
                     !rowsAscending(io.interpolateFileName(object, name), false)))
                    warnings.push_back("'" + io.interpolateFileName(object, name) + "' " + NOT_REPRODUCED);
            }
        }
    }
    for (const std::string& damaged : io.getDamagedFiles())
        warnings.push_back("'" + damaged + "' is truncated or corrupt; only its complete keyframes are shown");
    return system;
}
