#include "tools/mrvsynth/Arrangement.h"

#include "tools/mrvsynth/NoteName.h"

#include <algorithm>

std::vector<uint64_t> Arrangement::entryStarts(const Score& score)
{
    std::vector<uint64_t> starts;
    uint64_t step = 0;
    for (int section : score.song)
    {
        starts.push_back(step);
        step += score.sectionSteps(section);
    }
    return starts;
}

std::vector<std::vector<ScoreNote>> Arrangement::notesByTrack(const Score& score)
{
    std::vector<std::vector<ScoreNote>> notes(score.tracks.size());
    const std::vector<uint64_t> starts = entryStarts(score);
    for (size_t entry = 0; entry < score.song.size(); ++entry)
    {
        const int section = score.song[entry];
        const uint64_t end = starts[entry] + score.sectionSteps(section);
        for (const SectionPart& part : score.sections[section].parts)
            layPart(score, part, starts[entry], end, notes[part.track]);
    }
    for (std::vector<ScoreNote>& list : notes)
        std::stable_sort(list.begin(), list.end(),
                         [](const ScoreNote& a, const ScoreNote& b) { return a.step < b.step; });
    return notes;
}

void Arrangement::layPart(const Score& score, const SectionPart& part, uint64_t start, uint64_t end,
                          std::vector<ScoreNote>& notes)
{
    uint64_t position = start;
    for (size_t i = 0; position < end; i = (i + 1) % part.sequence.size())
    {
        const PatternRef& ref = part.sequence[i];
        if (ref.pattern == PatternRef::REST_BAR)
        {
            position += score.stepsPerBar();
            continue;
        }
        const Pattern& pattern = score.patterns[ref.pattern];
        for (const ScoreNote& source : pattern.notes)
        {
            const uint64_t step = position + source.step;
            if (step >= end)
                break;
            ScoreNote note = source;
            note.step = static_cast<uint32_t>(step);
            note.length = static_cast<uint32_t>(std::min<uint64_t>(source.length, end - step));
            if (note.key != ScoreNote::HIT)
            {
                note.key += ref.transpose;
                // Out-of-range transpositions fold back by octaves and keep
                // the pitch class, so a line stays in key.
                while (note.key > NoteName::HIGHEST_KEY)
                    note.key -= 12;
                while (note.key < NoteName::LOWEST_KEY)
                    note.key += 12;
            }
            notes.push_back(note);
        }
        position += pattern.steps;
    }
}
