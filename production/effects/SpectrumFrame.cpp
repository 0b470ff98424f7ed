#include "production/effects/SpectrumFrame.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/sound/FMODTimer.h"

#include <algorithm>

SpectrumFrame::SpectrumFrame(int length, int windowType_)
    : windowType(windowType_), leftValues(static_cast<size_t>(std::max(length, 0)), 0.0f),
      rightValues(leftValues.size(), 0.0f), sumValues(leftValues.size(), 0.0f)
{
}

void SpectrumFrame::read()
{
    const int n = length();
    // A refused read (a length the analyser does not take) leaves zeros, not
    // the previous frame.
    if (!MRVDemosys::timer || MRVDemosys::timer->getSpectrum(left(), n, 0, windowType) != SOUND_OK ||
        MRVDemosys::timer->getSpectrum(right(), n, 1, windowType) != SOUND_OK)
    {
        clear();
        return;
    }
    for (int i = 0; i < n; ++i)
        sumValues[static_cast<size_t>(i)] = leftValues[static_cast<size_t>(i)] + rightValues[static_cast<size_t>(i)];
}

void SpectrumFrame::clear()
{
    std::fill(leftValues.begin(), leftValues.end(), 0.0f);
    std::fill(rightValues.begin(), rightValues.end(), 0.0f);
    std::fill(sumValues.begin(), sumValues.end(), 0.0f);
}
