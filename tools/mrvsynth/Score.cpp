#include "tools/mrvsynth/Score.h"

uint64_t Score::sectionSteps(int section) const
{
    return static_cast<uint64_t>(sections[section].bars) * stepsPerBar();
}

uint64_t Score::totalSteps() const
{
    uint64_t steps = 0;
    for (int section : song)
        steps += sectionSteps(section);
    return steps;
}

uint64_t Score::sampleOfStep(uint64_t step) const
{
    const uint64_t perMinute = static_cast<uint64_t>(SAMPLE_RATE) * 60;
    return step * perMinute / (static_cast<uint64_t>(tempo) * stepsPerBeat);
}
