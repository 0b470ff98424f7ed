#pragma once

#include <set>
#include <string>
#include <vector>

class Effect;
class File;
class TrackInterpolate;
class TrackStartStop;
class TrackSystem;

// Reads and writes the binary track files of a production, one directory
// holding every file.
//
// File names, dir being the directory exactly as given:
//   start/stop track of object o:        dir + "/" + o + ".track"
//   interpolated track t of object o:    dir + "/" + o + "." + t + ".track"
//
// All numbers are 4 bytes, little-endian; floats IEEE 754 single precision.
// There is no magic number, version or checksum.
//
// Start/stop track file:
//   offset 0   int32   priority
//   offset 4   int32   N, number of keyframes
//   offset 8   N records, back to back:
//              uint32  row
//              int32   type: 1 = start, 0 = stop
//              start keyframes only: the render target name, bytes up to and
//              including a terminating 0 byte. The screen is stored as the
//              empty name (a lone 0 byte).
//
// Interpolated track file:
//   offset 0   int32   N, number of keyframes
//   offset 4   N records of 12 bytes:
//              uint32  row
//              int32   interpolation (curve from this keyframe to the next)
//              float32 value
//
// Reading never trusts a count: a file that ends before its counts are
// satisfied, or with a negative count, is reported as truncated or corrupt
// in one line naming the file; the keyframes read completely are kept and
// the rest is treated as absent. Writing goes to a temporary file that is
// then renamed over the old one, so an interrupted save leaves either the
// old file or the new one, never a part of one. A file that already holds
// exactly the bytes a save would write is left alone, stamp and all, so a
// save after a small edit writes only the tracks it changed.
class TrackSystemIO
{
public:
    explicit TrackSystemIO(const std::string& directory);

    // One track group per name, attached to the effect of the same index
    // (the lists are parallel; a missing effect counts as null). Missing
    // files give empty dummy tracks. The drawing order is built and
    // renumbered before the new system is returned.
    TrackSystem* load(const std::vector<std::string>& names, const std::vector<Effect*>& effects);
    // Null when the file cannot be opened.
    TrackStartStop* loadStartStopTrack(const std::string& object);
    TrackInterpolate* loadInterpolateTrack(const std::string& object, const std::string& track);

    // Every group in name order: its start/stop track (when it has one),
    // then each interpolated track. Stops at the first file that cannot be
    // written; false then, with the reason in getErrorMessage().
    bool save(const TrackSystem* system);
    bool saveStartStopTrack(const std::string& object, const TrackStartStop* track);
    bool saveInterpolateTrack(const std::string& object, const TrackInterpolate* track);

    // A file's bytes, as a save writes them.
    static std::string startStopBytes(const TrackStartStop& track);
    static std::string interpolateBytes(const TrackInterpolate& track);

    std::string startStopFileName(const std::string& object) const;
    std::string interpolateFileName(const std::string& object, const std::string& track) const;

    // Per-keyframe log lines while reading; on from construction.
    void setVerbose(bool on) { verbose = on; }
    bool isVerbose() const { return verbose; }
    // On (the player): start keyframes look their target up in the
    // framebuffer pool, and a name it lacks becomes the screen. Off (tools
    // without a GL context): names are kept as stored with no target, and
    // the empty name reads as the screen.
    void setResolveTargets(bool on) { resolveTargets = on; }
    // Quiet (reading again while the show runs): no line per file read or
    // per damaged file; the damage is still recorded.
    void setQuiet(bool on) { quiet = on; }

    // The files found truncated or corrupt since construction.
    const std::vector<std::string>& getDamagedFiles() const { return damagedFiles; }
    // "FILE is truncated or corrupt: DETAIL" for the latest of them.
    const std::string& getLastDamage() const { return lastDamage; }

    bool isValid() const { return valid; }
    const std::string& getErrorMessage() const { return errorMessage; }

private:
    void reportDamage(const std::string& path, const std::string& detail);
    // False, with the damage reported, when the count is missing or negative.
    bool readKeyframeCount(File& file, const std::string& path, int& count);
public:
    // The temporary file a save of path writes first.
    static std::string temporaryName(const std::string& path);

private:
    // Writes bytes to temporaryName(path) and renames it over path, unless
    // path holds them already; the temporary file is removed on failure.
    bool commit(const std::string& path, const std::string& bytes);
    bool fail(const std::string& message);

    std::string directory;
    std::set<std::string> warnedTargets;
    std::vector<std::string> damagedFiles;
    std::string errorMessage;
    std::string lastDamage;
    bool verbose = true;
    bool quiet = false;
    bool resolveTargets = true;
    bool valid = true;
};
