#pragma once

#include "tools/mrvsynth/InstrumentKind.h"
#include "tools/mrvsynth/SynthParam.h"

#include <cstdint>
#include <string>
#include <vector>

// A note of a pattern, or of a whole track once arranged: steps count from
// the start of the pattern (or of the song).
struct ScoreNote
{
    static constexpr int HIT = -1;  // 'x' or 'o': a drum at its own tuning

    uint32_t step = 0;
    uint32_t length = 1;
    int key = HIT;  // MIDI key number, C4 = 60
    float velocity = 1.0f;
};

struct Pattern
{
    std::string name;
    uint32_t steps = 0;
    std::vector<ScoreNote> notes;
};

// One entry of a section's sequence for a track: a pattern shifted by some
// semitones, or a bar of rest.
struct PatternRef
{
    static constexpr int REST_BAR = -1;

    int pattern = REST_BAR;
    int transpose = 0;
};

struct SectionPart
{
    int track = 0;
    std::vector<PatternRef> sequence;  // repeated until the section is full
};

// A parameter held (from == to) or swept linearly across one section.
struct Automation
{
    int track = 0;
    Param param = P_VOLUME;
    float from = 0.0f;
    float to = 0.0f;
};

struct Section
{
    std::string name;
    uint32_t bars = 1;
    std::vector<SectionPart> parts;
    std::vector<Automation> automations;
};

struct ScoreTrack
{
    std::string name;
    Kind kind = Kind::Kick;
    ParamValues values{};
};

// A piece as read from its text: global timing, tracks, patterns, sections
// and the order of sections. Step s starts at sample floor(s * rate * 60 /
// (tempo * stepsPerBeat)), so rounding never accumulates over a long song.
class Score
{
public:
    static constexpr int SAMPLE_RATE = 44100;

    int tempo = 120;
    int stepsPerBeat = 4;
    int beatsPerBar = 4;
    int rowRate = 20;
    float master = 1.0f;
    std::vector<ScoreTrack> tracks;
    std::vector<Pattern> patterns;
    std::vector<Section> sections;
    std::vector<int> song;  // section indices in playing order

    uint32_t stepsPerBar() const { return static_cast<uint32_t>(stepsPerBeat * beatsPerBar); }
    uint64_t sectionSteps(int section) const;
    uint64_t totalSteps() const;
    uint64_t sampleOfStep(uint64_t step) const;
    uint64_t lengthSamples() const { return sampleOfStep(totalSteps()); }
    double lengthSeconds() const { return static_cast<double>(lengthSamples()) / SAMPLE_RATE; }
};
