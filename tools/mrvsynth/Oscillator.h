#pragma once

// A phase running from 0 to 1 with band-limited saw and pulse shapes: the
// jumps are smoothed by a two-sample polynomial step, which keeps the
// aliasing of bright notes low without oversampling. Header-only, as it
// runs for every sample of every voice.
class Oscillator
{
public:
    explicit Oscillator(double phase = 0.0) : phase(phase) {}

    // Advances by one sample at increment = frequency / rate (below 0.5).
    void advance(double increment)
    {
        step = increment;
        phase += increment;
        if (phase >= 1.0)
            phase -= 1.0;
    }

    // Rising from -1 to +1 over a period, jumping back at phase 0.
    float saw() const { return static_cast<float>(2.0 * phase - 1.0 - stepCorrection(phase, step)); }
    // +1 for the first width of the period, -1 after.
    float pulse(double width) const
    {
        double value = phase < width ? 1.0 : -1.0;
        value += stepCorrection(phase, step);
        double fall = phase - width;
        if (fall < 0.0)
            fall += 1.0;
        return static_cast<float>(value - stepCorrection(fall, step));
    }
    double getPhase() const { return phase; }

private:
    // The jump of a unit step spread over the samples either side of it.
    static double stepCorrection(double t, double dt)
    {
        if (t < dt)
        {
            const double x = t / dt;
            return x + x - x * x - 1.0;
        }
        if (t > 1.0 - dt)
        {
            const double x = (t - 1.0) / dt;
            return x * x + x + x + 1.0;
        }
        return 0.0;
    }

    double phase;
    double step = 0.0;
};
