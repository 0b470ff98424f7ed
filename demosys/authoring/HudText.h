#pragma once

#include <cstddef>

// The lines of the authoring overlay, written into buffers the caller owns so
// that a frame formats them without allocating. Every function returns the
// length written (cut to fit the buffer, always terminated).
class HudText
{
public:
    // "m:ss.mmm", the minutes as many digits as they take.
    static int time(char* out, size_t size, unsigned int ms);
    // "0:12.345 ROW 245", and " BAR 7 BEAT 3" (both counted from 1) when
    // rowsPerBeat is above 0; beatsPerBar below 1 counts bars of one beat.
    static int position(char* out, size_t size, unsigned int ms, unsigned int row, int rowsPerBeat,
                        int beatsPerBar);
    // "60.0 FPS 12.3 MS": the rate the last frames came at and the CPU time
    // the last frame took.
    static int frame(char* out, size_t size, double fps, double cpuMs);
    // "NAME - TARGET P3"; a null target is the screen.
    static int effect(char* out, size_t size, const char* name, const char* target, int priority);
};
