#pragma once

#include <vector>

// One frame of the music's spectrum as the effects read it: the left and the
// right channel and their sum, each `length` values, read with one FFT
// window. Without a music clock every value is 0, so an effect drawn before
// the clock exists, or in a test without one, shows silence rather than
// whatever an earlier frame left behind.
//
// The arrays are the effect's to rework in place after read() (the carpet
// lifts the channels, the equalizers weigh the sum); the next read() fills
// them anew.
class SpectrumFrame
{
public:
    SpectrumFrame(int length, int windowType);

    // Both channels from MRVDemosys::timer (channel offset 0 left, 1 right),
    // then sum[i] = left[i] + right[i].
    void read();
    // Every value 0.
    void clear();

    int length() const { return static_cast<int>(leftValues.size()); }
    float* left() { return leftValues.data(); }
    float* right() { return rightValues.data(); }
    float* sum() { return sumValues.data(); }
    const float* left() const { return leftValues.data(); }
    const float* right() const { return rightValues.data(); }
    const float* sum() const { return sumValues.data(); }

private:
    int windowType;
    std::vector<float> leftValues;
    std::vector<float> rightValues;
    std::vector<float> sumValues;
};
