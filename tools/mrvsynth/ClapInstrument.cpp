#include "tools/mrvsynth/ClapInstrument.h"

#include "tools/mrvsynth/NoiseSource.h"
#include "tools/mrvsynth/Svf.h"

#include <algorithm>
#include <cmath>

namespace
{
const int BURSTS = 4;
const float BURST_SPACING = 0.0105f;
const float BURST_SECONDS = 0.004f;
}

void ClapInstrument::render(const NoteContext& note, StereoBuffer& out) const
{
    const ParamValues& p = note.params;
    const float decay = p[P_DECAY];
    const float burstsEnd = BURSTS * BURST_SPACING;
    const size_t length = room(note, out, burstsEnd + decay * 1.4f);
    const float cutoff = note.key < 0 ? p[P_CUTOFF] : frequency(note, p[P_CUTOFF]);
    Svf body;
    body.set(cutoff, 0.45f, note.rate);
    Svf air;
    air.set(cutoff * 2.5f, 0.1f, note.rate);
    NoiseSource noise(note.seed);
    const float tailFactor = fallFactor(decay, note.rate);

    float tail = 0.8f;
    float* left = out.left.data() + note.start;
    float* right = out.right.data() + note.start;
    for (size_t i = 0; i < length; ++i)
    {
        const float t = static_cast<float>(i) / note.rate;
        float envelope;
        if (t < burstsEnd)
        {
            const float local = t - std::floor(t / BURST_SPACING) * BURST_SPACING;
            envelope = std::exp(-local / BURST_SECONDS);
        }
        else
        {
            envelope = tail;
            tail *= tailFactor;
        }
        const float white = noise.next();
        body.process(white);
        air.process(white);
        const float value = (2.2f * body.band + 0.35f * air.high) * envelope * note.velocity;
        left[i] += value;
        right[i] += value;
    }
}
