#pragma once

#include <string>

// Note names as written in scores: a letter A to G, an optional '#' or 'b',
// and an octave 0 to 8, with C4 the middle C (MIDI key 60) and A4 440 Hz.
class NoteName
{
public:
    static constexpr int LOWEST_KEY = 12;   // C0
    static constexpr int HIGHEST_KEY = 119; // B8

    // False when text is not a note name.
    static bool parse(const std::string& text, int& key);
    static double frequency(double key);
};
