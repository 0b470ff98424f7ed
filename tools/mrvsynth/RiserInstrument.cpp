#include "tools/mrvsynth/RiserInstrument.h"

#include "tools/mrvsynth/NoiseSource.h"
#include "tools/mrvsynth/Svf.h"

#include <algorithm>
#include <cmath>

namespace
{
const size_t CONTROL_BLOCK = 32;
}

void RiserInstrument::render(const NoteContext& note, StereoBuffer& out) const
{
    const ParamValues& p = note.params;
    const double gateSeconds = static_cast<double>(note.gate) / note.rate;
    const size_t length = room(note, out, gateSeconds + p[P_RELEASE] * 1.4f);
    const float from = p[P_CUTOFF];
    const float ratio = p[P_TOP] / from;
    const float rise = p[P_RISE];
    const float releaseFactor = fallFactor(p[P_RELEASE], note.rate);
    // Two noise sources make the riser wide instead of a line in the middle.
    NoiseSource noiseLeft(note.seed);
    NoiseSource noiseRight(note.seed ^ 0x5BD1E995u);
    Svf filterLeft;
    Svf filterRight;

    float releaseAmp = rise;
    float* left = out.left.data() + note.start;
    float* right = out.right.data() + note.start;
    for (size_t i = 0; i < length; ++i)
    {
        const float x = note.gate == 0 ? 1.0f : std::min(1.0f, static_cast<float>(i) / note.gate);
        if (i % CONTROL_BLOCK == 0)
        {
            const float cutoff = from * std::pow(ratio, x);
            filterLeft.set(cutoff, p[P_RESONANCE], note.rate);
            filterRight.set(cutoff, p[P_RESONANCE], note.rate);
        }
        float amp;
        if (i < note.gate)
            amp = rise * x * x + (1.0f - rise) * (1.0f - x) * (1.0f - x);
        else
            amp = (releaseAmp *= releaseFactor);
        filterLeft.process(noiseLeft.next());
        filterRight.process(noiseRight.next());
        const float gain = amp * note.velocity * 1.2f;
        left[i] += filterLeft.band * gain;
        right[i] += filterRight.band * gain;
    }
}
