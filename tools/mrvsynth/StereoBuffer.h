#pragma once

#include <cstddef>
#include <vector>

// Two channels of float samples, kept apart so that mono instruments and
// per-channel filters can walk each one straight through.
struct StereoBuffer
{
    explicit StereoBuffer(size_t frames = 0) : left(frames, 0.0f), right(frames, 0.0f) {}

    size_t size() const { return left.size(); }

    std::vector<float> left;
    std::vector<float> right;
};
