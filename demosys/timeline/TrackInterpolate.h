#pragma once

#include "demosys/timeline/Track.h"

#include <string>

class TrackKeyFrameInterpolate;

// A named float over time: keyframes on rows, blended by the curve of the
// earlier keyframe. Holds TrackKeyFrameInterpolates only. Before the first
// keyframe the value is the first keyframe's, from the last keyframe on it is
// the last keyframe's, and an empty track reads 0.
class TrackInterpolate : public Track
{
public:
    explicit TrackInterpolate(const std::string& name);
    ~TrackInterpolate() override;

    const std::string& getName() const { return name; }

    // Takes ownership; a keyframe already on that row is deleted.
    void addKeyframe(TrackKeyFrameInterpolate* keyframe);

    // The value at time milliseconds, at the track system's row rate.
    float getValue(unsigned int time) const;
    // The same at an explicit row rate (rows per second, above 0).
    float getValue(unsigned int time, unsigned int rowRate) const;

    void getKeyFrameRange(unsigned int fromRow, unsigned int toRow, std::vector<TrackKeyFrame*>& out) const override;

    // Takes the other track's keyframes, giving it this one's; effects keep
    // the pointer they fetched in init().
    void replaceKeyframes(TrackInterpolate& other) { swapKeyframes(other); }

    // The keyframe that governs row, or null when row is before the first
    // keyframe or at or after the last one.
    TrackKeyFrameInterpolate* getClosestKeyframe(unsigned int row) const;
    // Deletes the keyframe at row or, when none is exactly there, the one
    // before it; nothing when no keyframe lies at or after row.
    void deleteKeyframe(unsigned int row);

    // The curves from value `from` to `to` at position d, 0 <= d < 1, between
    // two keyframes.
    static float linear(float from, float to, float d);
    // fastStart: quick departure from `from`, slow arrival (curve 1);
    // otherwise slow departure and quick arrival (curve 2).
    static float cosine(float from, float to, float d, bool fastStart);
    static float ramp(float from, float to, float d);
    static float step(float from, float to, float d);

private:
    std::string name;
};
