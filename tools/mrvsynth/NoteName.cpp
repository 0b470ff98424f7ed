#include "tools/mrvsynth/NoteName.h"

#include <cmath>

bool NoteName::parse(const std::string& text, int& key)
{
    static const int SEMITONES[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (text.size() < 2 || text.size() > 3 || text[0] < 'A' || text[0] > 'G')
        return false;
    int semitone = SEMITONES[text[0] - 'A'];
    size_t pos = 1;
    if (text[pos] == '#' || text[pos] == 'b')
    {
        semitone += text[pos] == '#' ? 1 : -1;
        ++pos;
    }
    if (pos + 1 != text.size() || text[pos] < '0' || text[pos] > '8')
        return false;
    key = (text[pos] - '0' + 1) * 12 + semitone;
    return key >= LOWEST_KEY && key <= HIGHEST_KEY;
}

double NoteName::frequency(double key)
{
    return 440.0 * std::pow(2.0, (key - 69.0) / 12.0);
}
