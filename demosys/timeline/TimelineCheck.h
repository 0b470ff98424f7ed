#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class ParameterGroup;
struct TimelineBeat;
struct TimelineLines;

// What a production offers a timeline: its effect objects, its framebuffers
// and its row rate, and, where known (a loaded show), the interpolated
// tracks each effect object reads.
struct ProductionNames
{
    std::set<std::string> objects;
    std::set<std::string> framebuffers;
    int rowRate = 20;
    // The beat length the demoscript sets; 0 where it sets none.
    int rowsPerBeat = 0;
    int beatsPerBar = 4;
    // Objects without an entry are not checked for their track names.
    std::map<std::string, std::set<std::string>> tracks;

    // The row rate and the beat length of a demoscript's system block (null:
    // the defaults).
    void readSystem(const ParameterGroup* system);
};

// A timeline checked against the production it is compiled for, before a
// single track file is written: a misspelt name otherwise becomes a stray
// file, an effect that never draws or a buffer silently drawn to the screen,
// and a row rate of its own puts every cut at the wrong time.
class TimelineCheck
{
public:
    // False at the first error, "FILE:LINE: ...\n" in `error`: an object
    // that is no effect object, a render target that is neither the screen
    // nor a framebuffer, a row rate or a beat length that differs. A track the object does
    // not read is only a warning ("FILE:LINE: warning: ..."): the effect may
    // read it one day, and nothing is lost meanwhile.
    static bool check(const std::string& fileName, const TimelineLines& lines, int timelineRowRate,
                      const TimelineBeat& beat, const ProductionNames& production, std::string& error,
                      std::vector<std::string>& warnings);
};
