#include "tools/mrvsynth/KickInstrument.h"

#include "tools/mrvsynth/NoiseSource.h"

#include <cmath>

namespace
{
// A short hold keeps the body of the kick at full level before it decays:
// the weight that the low end of the mix rests on.
const float HOLD_SECONDS = 0.03f;
const float CLICK_SECONDS = 0.003f;
}

void KickInstrument::render(const NoteContext& note, StereoBuffer& out) const
{
    const ParamValues& p = note.params;
    const float decay = p[P_DECAY];
    const size_t length = room(note, out, HOLD_SECONDS + decay * 1.4f);
    const float low = frequency(note, p[P_PITCH]);
    const float high = low * p[P_PUNCH];
    const float sweepFactor = std::exp(-1.0f / (p[P_SWEEP] * note.rate));
    const float ampFactor = fallFactor(decay, note.rate);
    const float clickFactor = std::exp(-1.0f / (CLICK_SECONDS * note.rate));
    const float drive = 1.0f + p[P_DRIVE];
    const float norm = 1.0f / softClip(drive);
    const size_t hold = static_cast<size_t>(HOLD_SECONDS * note.rate);
    NoiseSource noise(note.seed);

    double phase = 0.0;
    float sweep = 1.0f;
    float amp = 1.0f;
    float click = p[P_CLICK];
    float previousNoise = 0.0f;
    float* left = out.left.data() + note.start;
    float* right = out.right.data() + note.start;
    for (size_t i = 0; i < length; ++i)
    {
        const float f = low + (high - low) * sweep;
        sweep *= sweepFactor;
        phase += f / note.rate;
        if (phase >= 1.0)
            phase -= 1.0;
        const float body = static_cast<float>(std::sin(6.283185307179586 * phase));
        const float white = noise.next();
        const float snap = (white - previousNoise) * 0.5f * click;
        previousNoise = white;
        click *= clickFactor;
        if (i >= hold)
            amp *= ampFactor;
        const float value = softClip((body * amp + snap) * drive) * norm * note.velocity;
        left[i] += value;
        right[i] += value;
    }
}
