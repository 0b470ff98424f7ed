#pragma once

#include <string>

struct DevShow;
class TrackSystem;
class Waveform;

// The editor's timeline panel: a ruler in minutes and seconds and, where the
// beat is known, in bars, over the music's waveform; one lane per effect object with its intervals as
// boxes labelled with their render target and coloured by it, and the
// priority the timeline gave it; the playhead and the loop region.
//
// It only draws and reads the pointer; what the author asks for comes back
// as a request that the caller carries out as an editor command, so that
// the mouse and a typed command do the same thing:
// - click or drag on the ruler: scrub (the clock follows while the button
//   is down), then seek where it was let go;
// - drag with the right button on the ruler: a loop over that stretch;
// - the wheel zooms around the pointer, with Shift it scrolls;
// - a click on a lane selects its object for the inspector; an edge of an
//   interval dragged along its lane moves that end to the row let go on.
class TimelineView
{
public:
    struct Show
    {
        const DevShow* dev = nullptr;  // the loop, the stop time, the beat
        const TrackSystem* tracks = nullptr;
        const Waveform* waveform = nullptr;  // null or empty: no music
        unsigned int time = 0;
    };
    struct Request
    {
        enum Kind { NONE, SCRUB, SEEK, LOOP, SPAN } kind = NONE;
        // Milliseconds; for SPAN, rows: the interval of `object` that
        // starts on row `at` is to run from row `from` to row `to`.
        unsigned int from = 0;
        unsigned int to = 0;
        std::string object;
        unsigned int at = 0;
    };

    Request draw(const Show& show);

    // The object whose lane was clicked last; empty for none.
    const std::string& getSelected() const { return selected; }
    // The stretch of the show in view, in milliseconds.
    double getViewStart() const { return viewStart; }
    double getViewEnd() const { return viewEnd; }

private:
    double msAt(float x) const;
    float xAt(double ms) const;

    double viewStart = 0.0;
    double viewEnd = 0.0;  // 0: the whole show
    float left = 0.0f;
    float right = 1.0f;
    std::string selected;
    // An interval's edge held by the pointer, until the button is let go.
    struct EdgeDrag
    {
        std::string object;  // empty: none
        unsigned int start = 0;
        unsigned int stop = 0;
        bool end = false;  // the stop edge rather than the start
    } edge;
    bool looping = false;
    unsigned int loopFrom = 0;
};
