#pragma once

#include "tools/mrvsynth/Score.h"

#include <cstdint>
#include <vector>

// Lays the patterns of every section end to end for each track. A section's
// sequence repeats until the section is full; a note that would ring past
// the section's end is cut there, so sections can be reordered freely.
class Arrangement
{
public:
    // Per track, notes with steps counted from the start of the song, in
    // step order.
    static std::vector<std::vector<ScoreNote>> notesByTrack(const Score& score);
    // The first step of each entry of the song.
    static std::vector<uint64_t> entryStarts(const Score& score);

private:
    static void layPart(const Score& score, const SectionPart& part, uint64_t start, uint64_t end,
                        std::vector<ScoreNote>& notes);
};
