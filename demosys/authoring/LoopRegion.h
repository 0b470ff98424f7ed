#pragma once

#include <string>

// The part of the show an author plays over and over (--dev: I, O and L).
// Looping is only ever on while it can happen: a region whose end is not
// after its start refuses to switch on, and one that an I or O makes empty
// switches off, each with the reason for the author.
class LoopRegion
{
public:
    // Both return false with `why` set when looping had to go off.
    bool setStart(unsigned int ms, std::string& why);
    bool setEnd(unsigned int ms, std::string& why);
    // On when off and off when on; false with `why` set when it cannot
    // switch on.
    bool toggle(std::string& why);
    // Both ends at once, and on; false with `why` set, and the region as
    // it was, when they cannot loop.
    bool set(unsigned int from, unsigned int to, std::string& why);

    bool isOn() const { return on; }
    unsigned int getStart() const { return start; }
    unsigned int getEnd() const { return end; }
    // Whether the show at `time` has run past the end and goes back.
    bool passedEnd(unsigned int time) const { return on && time > end; }

private:
    // False with the reason ("needs an end after its start").
    bool loopable(std::string& why) const;
    bool keepLoopable(std::string& why);

    unsigned int start = 0;
    unsigned int end = 0;
    bool endSet = false;
    bool on = false;
};
