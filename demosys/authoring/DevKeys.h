#pragma once

#include "demosys/authoring/DevShow.h"

#include <string>

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
    // The show is the session's; it outlives the keys.
    explicit DevKeys(const DevShow& show) : show(show) {}

    void key(int sdlKey, int modifiers = 0);
    // "(0000012345)-[00:12:345] row 246, bar 7 beat 3" (bar and beat
    // counted from 1, only where rowsPerBeat is above 0).
    std::string moment(unsigned int ms) const;
    static std::string moment(unsigned int ms, int rowRate, int rowsPerBeat, int beatsPerBar);

private:
    void seek(bool forward, int modifiers);

    const DevShow& show;
};
