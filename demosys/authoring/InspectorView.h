#pragma once

#include <string>

class TrackSystem;

// The editor's inspector: the selected effect object's class, its
// parameters as the demoscript gave them, and each track it reads with its
// value now, its number of keys and its curve over the stretch of the show
// the timeline shows.
class InspectorView
{
public:
    void draw(const TrackSystem& tracks, const std::string& object, unsigned int time, double viewStart,
              double viewEnd);

private:
    static constexpr int CURVE_POINTS = 96;
    float curve[CURVE_POINTS] = {};
};
