#pragma once

#include "demosys/math/Vector.h"
#include "demosys/runtime/MRVTime.h"

// Blends two values, or two vectors, across a window of music time. A single
// value rides in x with y and z at 0. Outside the window the blend carries on
// along the same line; callers that must stay inside check validTime first.
class Interpolate
{
public:
    Interpolate() = default;

    // Copy minutes, seconds and milliseconds through the time's setters, so
    // that oversized parts carry.
    void setStartTime(const MRVTime& time);
    void setStopTime(const MRVTime& time);
    // Plain copies.
    void setTime(const MRVTime& start, const MRVTime& stop);
    const MRVTime& getStartTime() const { return startTime; }
    const MRVTime& getStopTime() const { return stopTime; }

    void setValues(float start, float stop);
    void setStartValue(float value);
    void setStopValue(float value);
    void setVectors(const Vector<float, 3>& start, const Vector<float, 3>& stop);
    void setVectors(const Vector<float, 2>& start, const Vector<float, 2>& stop);
    void setStartVector(const Vector<float, 3>& v) { startVector = v; }
    void setStopVector(const Vector<float, 3>& v) { stopVector = v; }
    const Vector<float, 3>& getStartVector() const { return startVector; }
    const Vector<float, 3>& getStopVector() const { return stopVector; }

    // Inside the window, bounds included; an empty window has no valid time.
    bool validTime(unsigned int time) const;

    Vector<float, 3> linearInterpolateVector(unsigned int time) const;
    // Eases by a quarter cosine: flag true starts fast and ends slow, false
    // starts slow and ends fast.
    Vector<float, 3> cosInterpolateVector(unsigned int time, bool flag) const;
    float linearInterpolate(unsigned int time) const;
    float cosInterpolate(unsigned int time, bool flag) const;

private:
    float progress(unsigned int time) const;
    Vector<float, 3> blend(float f) const;

    MRVTime startTime;
    MRVTime stopTime;
    Vector<float, 3> startVector;
    Vector<float, 3> stopVector;
};
