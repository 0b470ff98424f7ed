#pragma once

#include "demosys/timeline/TimelineSyntax.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TrackGroup;
class TrackInterpolate;
class TrackStartStop;
class TrackSystem;

// The timeline text: one readable file for the whole production's track
// files, compiled by `mrvtrack compile` and by --dev while the show runs, and
// printed back by `mrvtrack dump`. The lexical rules are in TimelineSyntax.h.
//
// Line by line; spaces and tabs separate the pieces of a line, blank lines are
// ignored and # starts a comment that runs to the end of the line.
//
//   rowrate N
//       rows per second (1 to 1000) for converting times given as
//       minutes:seconds:milliseconds; 20 when absent. At most once, before the
//       first object. It should match the rowrate of the demoscript's system
//       block; it is not stored in the track files.
//   beat ROWS [BEATS]
//       the beat length, ROWS rows a beat and BEATS beats a bar (4 when
//       absent), for times written in bars and beats. At most once, before
//       the first object; it must match the demoscript's rowsperbeat and
//       beatsperbar where the demoscript sets them.
//   object NAME
//       starts the tracks of one effect object (the demoscript's instance name).
//       Each object once; the name may not contain . or /.
//   priority P
//       the drawing priority of the object's start/stop track, a signed 32-bit
//       number; lower priorities draw first. 0 when absent.
//   on FROM TO [TARGET]
//       an interval: a start keyframe at FROM and a stop keyframe at TO (TO
//       after FROM); the effect draws at every row from FROM to TO, both
//       included, into the framebuffer TARGET, or to the screen without one.
//   start AT [TARGET]
//       a single start keyframe; without a later stop the effect draws at row AT
//       only.
//   stop AT
//       a single stop keyframe.
//   track NAME
//       starts an interpolated track of the object: the keyframe lines that
//       follow belong to it. The name may not contain /; each track once per
//       object.
//   AT CURVE VALUE
//       a keyframe of the latest track: the value at row AT and the curve from
//       here to the next keyframe.
//
// An object gets a start/stop track file (NAME.track) when it has a priority,
// on, start or stop line, and one file per track (NAME.TRACK.track). Any
// priority, on, start or stop line ends the current track, so keyframes after
// it are an error until the next track line.
//
// Times (FROM, TO, AT) are either rows, whole numbers from 0 to 4294967295, or
// minutes:seconds:milliseconds, three whole numbers (1:02:040 is 62,040 ms;
// the fields are not limited to 59 or 999) converted to the row the player
// shows at that moment: ms x rowrate / 1000, rounded down. After a beat
// line they may also be written in bars and beats, BAR|BEAT or
// BAR|BEAT|ROW, bar and beat counted from 1 and the row into the beat from
// 0: with "beat 10 4", 3|2 is row 90 and 3|2|5 row 95.
//
// Curves: linear (0), cos-out (1, cosine that leaves fast and arrives slowly),
// cos-in (2, cosine that leaves slowly and arrives fast), step (3, holds the
// value until the next keyframe), ramp (4, quadratic), or any whole number as
// stored in the file (numbers other than 0 to 4 play as linear). Before its
// first keyframe a track holds the first value, from its last keyframe on the
// last value.
//
// Values are decimal numbers (0.5, -2, 1e-3), inf, -inf, nan, or nan:HHHHHHHH
// for a NaN with exactly those bits. dump writes each value with the fewest
// digits that read back to the same float.
//
// Names (objects, tracks, targets) are written bare when they hold no space,
// control byte, " or #; otherwise in double quotes, with \", \\ and \xHH (one
// byte, two hex digits) as escapes. A name may not be empty or contain a zero
// byte. The target screen, like no target, means the screen.
//
// Checks. compile refuses what the player would lose or refuse to load: a row
// used twice in one track or twice among an object's start and stop keyframes
// (including overlapping on lines), start/stop keyframes that do not alternate
// start, stop, start, ... beginning with a start (the player's validation
// fails the whole load on those), and names that cannot be file names. The
// order of lines within an object is otherwise free: keyframes are sorted by
// row.
//
// dump takes every *.track file of the directory: o.track is the start/stop
// track of object o, and o.t.track is track t of object o, split at the first
// dot. Objects and tracks are printed in name order, times as rows, a start
// followed by its stop as one on line.
//
// The parser reads a timeline text into track groups ready to be saved as
// track files. The first error ends the parse; its message names the file,
// the line and what was expected there.
// Where each name of a parsed timeline was written, so that a check against
// the production can point back at the line.
struct TimelineLines
{
    struct Target
    {
        std::string object;
        std::string name;
        int line;
    };
    std::map<std::string, int> objects;
    // Keyed by object, then track.
    std::map<std::string, std::map<std::string, int>> tracks;
    // Keyed by object (then track), then row: the line of the keyframe.
    std::map<std::string, std::map<unsigned int, int>> startStops;
    std::map<std::string, std::map<std::string, std::map<unsigned int, int>>> keyframes;
    // The last line with a statement of each object.
    std::map<std::string, int> objectEnds;
    // The last line with a start/stop statement (priority, on, start, stop)
    // of each object.
    std::map<std::string, int> startStopEnds;
    // Every named render target, in text order.
    std::vector<Target> targets;
    int rowRate = 0;  // 0: no rowrate line
    int beat = 0;     // 0: no beat line
};

class TimelineParser
{
public:
    // fileName is only used in messages.
    explicit TimelineParser(const std::string& fileName);
    ~TimelineParser();

    TimelineParser(const TimelineParser&) = delete;
    TimelineParser& operator=(const TimelineParser&) = delete;

    // A new system with one group per object (owned by the caller); null
    // on the first error.
    TrackSystem* parse(const std::string& text);

    bool isValid() const { return valid; }
    // "file:line: expected ...\n"
    const std::string& getErrorMessage() const { return errorMessage; }
    int getRowRate() const { return rowRate; }
    // The beat length of a 'beat' line; rowsPerBeat 0 without one.
    const TimelineBeat& getBeat() const { return beat; }
    const TimelineLines& getLines() const { return lines; }

private:
    bool statement(const std::vector<TimelineToken>& tokens);
    bool rowRateStatement(const std::vector<TimelineToken>& tokens);
    bool beatStatement(const std::vector<TimelineToken>& tokens);
    bool objectStatement(const std::vector<TimelineToken>& tokens);
    bool priorityStatement(const std::vector<TimelineToken>& tokens);
    bool intervalStatement(const std::vector<TimelineToken>& tokens);
    bool startStatement(const std::vector<TimelineToken>& tokens);
    bool stopStatement(const std::vector<TimelineToken>& tokens);
    bool trackStatement(const std::vector<TimelineToken>& tokens);
    bool keyframeStatement(const std::vector<TimelineToken>& tokens);

    // Checks the finished object's start/stop order.
    bool finishObject();
    bool needObject(const std::string& keyword);
    TrackStartStop* startStopTrack();
    bool addStartStop(unsigned int row, int type, const std::string& target);
    bool expectEnd(const std::vector<TimelineToken>& tokens, size_t count, const std::string& form);
    bool readTime(const TimelineToken& token, unsigned int& row);
    // Object names become file name stems (no '/', no '.'), track names
    // file name parts (no '/'); target names are only looked up.
    enum NameKind { OBJECT_NAME, TRACK_NAME, TARGET_NAME };
    bool readName(const TimelineToken& token, NameKind kind, std::string& name);
    bool error(const std::string& expected);
    bool errorAt(int line, const std::string& expected);

    std::string fileName;
    TimelineLines lines;
    std::unique_ptr<TrackSystem> system;
    TrackGroup* object = nullptr;
    TrackInterpolate* track = nullptr;
    // The object's priority line; every other source line, for messages
    // that point back at earlier statements, is in `lines`.
    int priorityLine = 0;
    TimelineBeat beat;
    int line = 0;
    int rowRate = TimelineSyntax::DEFAULT_ROW_RATE;
    std::string errorMessage;
    bool valid = true;
};
