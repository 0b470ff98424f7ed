#include "demosys/timeline/Interpolate.h"

#include <cmath>

namespace {

// A quarter turn as the curve has always used it: close to, not exactly, pi/2.
const float QUARTER_TURN = 1.570795f;

// a - b as a signed float, without the wrap of unsigned subtraction.
float difference(unsigned int a, unsigned int b)
{
    return a >= b ? static_cast<float>(a - b) : -static_cast<float>(b - a);
}

} // namespace

void Interpolate::setStartTime(const MRVTime& time)
{
    startTime.setMinutes(time.getMinutes());
    startTime.setSeconds(time.getSeconds());
    startTime.setMilliseconds(time.getMilliseconds());
}

void Interpolate::setStopTime(const MRVTime& time)
{
    stopTime.setMinutes(time.getMinutes());
    stopTime.setSeconds(time.getSeconds());
    stopTime.setMilliseconds(time.getMilliseconds());
}

void Interpolate::setTime(const MRVTime& start, const MRVTime& stop)
{
    startTime = start;
    stopTime = stop;
}

void Interpolate::setValues(float start, float stop)
{
    setStartValue(start);
    setStopValue(stop);
}

void Interpolate::setStartValue(float value)
{
    startVector = Vector<float, 3>(value, 0.0f, 0.0f);
}

void Interpolate::setStopValue(float value)
{
    stopVector = Vector<float, 3>(value, 0.0f, 0.0f);
}

void Interpolate::setVectors(const Vector<float, 3>& start, const Vector<float, 3>& stop)
{
    startVector = start;
    stopVector = stop;
}

void Interpolate::setVectors(const Vector<float, 2>& start, const Vector<float, 2>& stop)
{
    startVector = Vector<float, 3>(start.x(), start.y(), 0.0f);
    stopVector = Vector<float, 3>(stop.x(), stop.y(), 0.0f);
}

bool Interpolate::validTime(unsigned int time) const
{
    const unsigned int start = startTime.getTicks();
    const unsigned int stop = stopTime.getTicks();
    return start <= time && time <= stop && start != stop;
}

float Interpolate::progress(unsigned int time) const
{
    const unsigned int start = startTime.getTicks();
    const unsigned int stop = stopTime.getTicks();
    // An empty window (also an unconfigured curve) jumps from start to stop
    // value at its one instant instead of dividing 0 by 0.
    if (start == stop)
        return time >= stop ? 1.0f : 0.0f;
    return difference(time, start) / difference(stop, start);
}

Vector<float, 3> Interpolate::blend(float f) const
{
    return startVector * (1.0f - f) + stopVector * f;
}

Vector<float, 3> Interpolate::linearInterpolateVector(unsigned int time) const
{
    return blend(progress(time));
}

Vector<float, 3> Interpolate::cosInterpolateVector(unsigned int time, bool flag) const
{
    const float p = progress(time);
    const float f = flag ? std::cos((1.0f - p) * QUARTER_TURN) : 1.0f - std::cos(p * QUARTER_TURN);
    return blend(f);
}

float Interpolate::linearInterpolate(unsigned int time) const
{
    return linearInterpolateVector(time).x();
}

float Interpolate::cosInterpolate(unsigned int time, bool flag) const
{
    return cosInterpolateVector(time, flag).x();
}
