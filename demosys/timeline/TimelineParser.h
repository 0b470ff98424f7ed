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

// Reads a timeline text into track groups ready to be saved as track files.
// The format is described in tools/README.md; in short, line by line:
//
//   rowrate 20                      optional, before the first object
//   object NAME                     one group (effect object)
//   priority P                      its start/stop track's priority
//   on FROM TO [TARGET]             an interval: start at FROM, stop at TO
//   start AT [TARGET]  /  stop AT   single start/stop keyframes
//   track NAME                      an interpolated track of the object
//   AT CURVE VALUE                  a keyframe of the latest track
//
// The parser refuses what the player would lose or refuse: a row used twice
// in one track, start/stop keyframes out of their start, stop, start ...
// order, names that cannot be file names. The first error ends the parse;
// its message names the file, the line and what was expected there.
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

private:
    bool statement(const std::vector<TimelineToken>& tokens);
    bool rowRateStatement(const std::vector<TimelineToken>& tokens);
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
    std::unique_ptr<TrackSystem> system;
    TrackGroup* object = nullptr;
    TrackInterpolate* track = nullptr;
    // Source lines, for messages that point back at earlier statements.
    std::map<std::string, int> objectLines;
    std::map<std::string, int> trackLines;
    std::map<unsigned int, int> startStopLines;
    std::map<unsigned int, int> keyframeLines;
    int priorityLine = 0;
    int rowRateLine = 0;
    int line = 0;
    int rowRate = TimelineSyntax::DEFAULT_ROW_RATE;
    std::string errorMessage;
    bool valid = true;
};
