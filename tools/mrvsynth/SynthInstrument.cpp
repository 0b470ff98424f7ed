#include "tools/mrvsynth/SynthInstrument.h"

#include "tools/mrvsynth/Envelope.h"
#include "tools/mrvsynth/NoiseSource.h"
#include "tools/mrvsynth/Oscillator.h"
#include "tools/mrvsynth/Svf.h"

#include <algorithm>
#include <cmath>

namespace
{
// Pitch, filter and pulse width move every block of samples: smooth to the
// ear and a fraction of the cost of doing it per sample.
const size_t CONTROL_BLOCK = 16;
const float PWM_HZ = 0.8f;
const float VIBRATO_FADE_SECONDS = 0.3f;
const float OUTPUT_GAIN = 0.32f;
const double TWO_PI = 6.283185307179586;

struct Voice
{
    Oscillator oscillator;
    double ratio = 1.0;
    float left = 0.0f;
    float right = 0.0f;
};

// Four-pole low-pass for one channel: the first stage carries the
// resonance, the second only steepens the slope.
struct Channel
{
    Svf first;
    Svf second;

    void set(float cutoff, float resonance, float rate)
    {
        first.set(cutoff, resonance, rate);
        second.set(cutoff, 0.0f, rate);
    }
    float process(float input)
    {
        first.process(input);
        second.process(first.low);
        return second.low;
    }
};
}

void SynthInstrument::render(const NoteContext& note, StereoBuffer& out) const
{
    const ParamValues& p = note.params;
    const double gateSeconds = static_cast<double>(note.gate) / note.rate;
    const size_t length = room(note, out, gateSeconds + p[P_RELEASE] * 1.4f);
    const float base = frequency(note, 261.6256f);
    const int unison = std::min(std::max(static_cast<int>(p[P_UNISON]), 1), MAX_UNISON);
    const bool stereo = p[P_SPREAD] > 0.0f && unison > 1;
    NoiseSource random(note.seed);

    Voice voices[MAX_UNISON];
    const float norm = 1.0f / std::sqrt(static_cast<float>(unison));
    for (int v = 0; v < unison; ++v)
    {
        const float offset = unison == 1 ? 0.0f : 2.0f * v / (unison - 1) - 1.0f;
        voices[v].oscillator = Oscillator(0.5 * (random.next() + 1.0f));
        voices[v].ratio = std::pow(2.0, offset * p[P_DETUNE] / 1200.0);
        const float pan = offset * p[P_SPREAD];
        voices[v].left = std::sqrt(0.5f * (1.0f - pan)) * 1.41421356f * norm;
        voices[v].right = std::sqrt(0.5f * (1.0f + pan)) * 1.41421356f * norm;
    }
    Oscillator sub;
    Channel filterLeft;
    Channel filterRight;
    Envelope amp(p[P_ATTACK], p[P_DECAY], p[P_SUSTAIN], p[P_RELEASE], note.rate);
    const float filterFactor = std::pow(fallFactor(p[P_FDECAY], note.rate), static_cast<float>(CONTROL_BLOCK));
    const float envDepth = p[P_ENVMOD] * (0.6f + 0.4f * note.velocity);
    const float gain = OUTPUT_GAIN * note.velocity;
    const float drive = 1.0f + p[P_DRIVE];
    const float driveNorm = 1.0f / softClip(drive);

    float filterEnv = 1.0f;
    double increment = 0.0;
    double width = p[P_PW];
    float* left = out.left.data() + note.start;
    float* right = out.right.data() + note.start;
    for (size_t i = 0; i < length; ++i)
    {
        if (i % CONTROL_BLOCK == 0)
        {
            const double t = static_cast<double>(i) / note.rate;
            const double fade = std::min(std::max((t - p[P_VIBDELAY]) / VIBRATO_FADE_SECONDS, 0.0), 1.0);
            const double vibrato = p[P_VIBRATO] * fade * std::sin(TWO_PI * p[P_VIBRATE] * t);
            increment = base * std::pow(2.0, vibrato / 12.0) / note.rate;
            width = std::min(std::max(p[P_PW] + p[P_PWM] * std::sin(TWO_PI * PWM_HZ * t), 0.05), 0.95);
            const float cutoffBase = note.cutoff ? note.cutoff->at(note.start + i) : p[P_CUTOFF];
            const float cutoff = cutoffBase * std::exp2(envDepth * filterEnv);
            filterLeft.set(cutoff, p[P_RESONANCE], note.rate);
            if (stereo)
                filterRight.set(cutoff, p[P_RESONANCE], note.rate);
            filterEnv *= filterFactor;
        }
        const float level = amp.next(i < note.gate);
        if (i >= note.gate && amp.finished())
            break;

        float mixLeft = 0.0f;
        float mixRight = 0.0f;
        for (int v = 0; v < unison; ++v)
        {
            Voice& voice = voices[v];
            voice.oscillator.advance(std::min(increment * voice.ratio, 0.49));
            float wave = 0.0f;
            if (p[P_SAW] > 0.0f)
                wave += p[P_SAW] * voice.oscillator.saw();
            if (p[P_SQUARE] > 0.0f)
                wave += p[P_SQUARE] * voice.oscillator.pulse(width);
            mixLeft += wave * voice.left;
            mixRight += wave * voice.right;
        }
        if (p[P_SUB] > 0.0f)
        {
            sub.advance(increment * 0.5);
            const float octaveDown = p[P_SUB] * sub.pulse(0.5);
            mixLeft += octaveDown;
            mixRight += octaveDown;
        }
        float outLeft = filterLeft.process(stereo ? mixLeft : 0.5f * (mixLeft + mixRight));
        float outRight = stereo ? filterRight.process(mixRight) : outLeft;
        if (p[P_DRIVE] > 0.0f)
        {
            outLeft = softClip(outLeft * drive) * driveNorm;
            outRight = softClip(outRight * drive) * driveNorm;
        }
        left[i] += outLeft * level * gain;
        right[i] += outRight * level * gain;
    }
}
