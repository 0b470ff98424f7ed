#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A parameter over the song: its track's value, replaced inside sections
// that hold it or sweep it linearly from one value to another.
class ParamCurve
{
public:
    explicit ParamCurve(float value = 0.0f) : value(value) {}

    // Segments come in time order and do not overlap; within [start, end)
    // the value goes from `from` towards `to`.
    void addSegment(uint64_t start, uint64_t end, float from, float to);

    float at(uint64_t sample) const;
    // The largest value anywhere in the song.
    float peak() const;
    // count values from sample start on.
    void fill(uint64_t start, size_t count, float* out) const;

private:
    struct Segment
    {
        uint64_t start;
        uint64_t end;
        float from;
        float to;
    };

    float value;
    std::vector<Segment> segments;
};
