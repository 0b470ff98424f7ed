#pragma once

#include "tools/mrvsynth/Instrument.h"

// The subtractive synthesizer behind bass, pad, lead and pluck: detuned
// saws and pulses spread across the stereo field, a sub octave, a 24 dB
// resonant low-pass opened by an envelope, an amplitude envelope and a
// delayed vibrato.
class SynthInstrument : public Instrument
{
public:
    static constexpr int MAX_UNISON = 7;

    void render(const NoteContext& note, StereoBuffer& out) const override;
};
