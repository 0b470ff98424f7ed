#include "tools/mrvsynth/HatInstrument.h"

#include "tools/mrvsynth/NoiseSource.h"
#include "tools/mrvsynth/Oscillator.h"
#include "tools/mrvsynth/Svf.h"

namespace
{
// Partials with no common root, so together they ring like metal rather
// than a chord.
const int PARTIALS = 6;
const float PARTIAL_HZ[PARTIALS] = {283.0f, 419.0f, 527.0f, 601.0f, 767.0f, 941.0f};
const float ATTACK_SECONDS = 0.0008f;
}

void HatInstrument::render(const NoteContext& note, StereoBuffer& out) const
{
    const ParamValues& p = note.params;
    const float decay = p[P_DECAY];
    const size_t length = room(note, out, ATTACK_SECONDS + decay * 1.4f);
    const float metal = p[P_METAL];
    const float tuning = note.key < 0 ? 1.0f : frequency(note, 1.0f) / 261.6256f;
    Svf first;
    Svf second;
    first.set(p[P_CUTOFF], 0.3f, note.rate);
    second.set(p[P_CUTOFF] * 0.9f, 0.0f, note.rate);
    NoiseSource noise(note.seed);
    Oscillator partials[PARTIALS];
    for (int k = 0; k < PARTIALS; ++k)
        partials[k] = Oscillator(0.5f * (noise.next() + 1.0f));
    const float decayFactor = fallFactor(decay, note.rate);
    const size_t attack = static_cast<size_t>(ATTACK_SECONDS * note.rate) + 1;

    float amp = 1.0f;
    float* left = out.left.data() + note.start;
    float* right = out.right.data() + note.start;
    for (size_t i = 0; i < length; ++i)
    {
        float ring = 0.0f;
        for (int k = 0; k < PARTIALS; ++k)
        {
            partials[k].advance(PARTIAL_HZ[k] * tuning / note.rate);
            ring += partials[k].pulse(0.5);
        }
        const float source = ring * (metal / PARTIALS) + noise.next() * (1.0f - metal);
        first.process(source);
        second.process(first.high);
        const float envelope = i < attack ? static_cast<float>(i) / attack : (amp *= decayFactor);
        const float value = 1.6f * second.high * envelope * note.velocity;
        left[i] += value;
        right[i] += value;
    }
}
