#pragma once

#include <string>

class FMODTimer;
class LiveAuthoring;
class LoopRegion;

// The authoring keys (--dev with a window): R reloads every shader, Space
// pauses and resumes, Left and Right seek five seconds, I and O set the
// loop's start and end at the clock, L switches looping, H shows and hides
// the overlay; with Shift, Left and Right step one row, with Ctrl one beat,
// with both one bar. Each prints one line; a line that gives a time gives the row
// too, and the bar and beat where the system block sets a beat length, so
// that the moment can go straight into the timeline.
class DevKeys
{
public:
    struct Show
    {
        FMODTimer* timer = nullptr;
        LoopRegion* loop = nullptr;
        LiveAuthoring* authoring = nullptr;
        bool* overlayShown = nullptr;  // null when there is no overlay
        unsigned int stopMs = 0;       // seeks stop here
        int rowRate = 20;
        int rowsPerBeat = 0;           // 0: no bar and beat
        int beatsPerBar = 4;
    };

    explicit DevKeys(const Show& show) : show(show) {}

    void key(int sdlKey, int modifiers = 0);
    // "(0000012345)-[00:12:345] row 246, bar 7 beat 3" (bar and beat
    // counted from 1, only where rowsPerBeat is above 0).
    std::string moment(unsigned int ms) const;
    static std::string moment(unsigned int ms, int rowRate, int rowsPerBeat, int beatsPerBar);

private:
    void seek(bool forward, int modifiers);

    Show show;
};
