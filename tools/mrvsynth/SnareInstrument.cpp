#include "tools/mrvsynth/SnareInstrument.h"

#include "tools/mrvsynth/NoiseSource.h"
#include "tools/mrvsynth/Svf.h"

#include <cmath>

namespace
{
// The upper shell mode sits at an inharmonic ratio, as on a real drum head.
const float SECOND_PARTIAL = 1.47f;
const float PITCH_DROP_SECONDS = 0.015f;
}

void SnareInstrument::render(const NoteContext& note, StereoBuffer& out) const
{
    const ParamValues& p = note.params;
    const float decay = p[P_DECAY];
    const size_t length = room(note, out, decay * 1.4f);
    const float pitch = frequency(note, p[P_PITCH]);
    const float tone = p[P_TONE];
    const float toneFactor = fallFactor(decay * 0.5f, note.rate);
    const float noiseFactor = fallFactor(decay, note.rate);
    const float dropFactor = std::exp(-1.0f / (PITCH_DROP_SECONDS * note.rate));
    Svf wires;
    wires.set(p[P_CUTOFF], 0.2f, note.rate);
    NoiseSource noise(note.seed);

    double phase1 = 0.0;
    double phase2 = 0.0;
    float drop = 0.4f;
    float toneAmp = tone;
    float noiseAmp = 1.0f - 0.4f * tone;
    float* left = out.left.data() + note.start;
    float* right = out.right.data() + note.start;
    for (size_t i = 0; i < length; ++i)
    {
        const double f = pitch * (1.0f + drop);
        drop *= dropFactor;
        phase1 += f / note.rate;
        phase2 += f * SECOND_PARTIAL / note.rate;
        const float shell = static_cast<float>(std::sin(6.283185307179586 * phase1) +
                                               0.5 * std::sin(6.283185307179586 * phase2)) * 0.67f;
        wires.process(noise.next());
        const float value = softClip(1.4f * (shell * toneAmp + (wires.high + 0.5f * wires.band) * noiseAmp)) *
                            note.velocity;
        toneAmp *= toneFactor;
        noiseAmp *= noiseFactor;
        left[i] += value;
        right[i] += value;
    }
}
