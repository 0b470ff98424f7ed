#pragma once

#include "tools/mrvsynth/InstrumentKind.h"
#include "tools/mrvsynth/ParamCurve.h"
#include "tools/mrvsynth/StereoBuffer.h"
#include "tools/mrvsynth/SynthParam.h"

#include <cstdint>
#include <memory>

// Everything an instrument needs to play one note.
struct NoteContext
{
    float rate = 44100.0f;
    uint64_t start = 0;  // first sample in the track buffer
    uint64_t gate = 0;   // samples the note is held
    int key = -1;        // MIDI key, or -1 for a hit at the instrument's own tuning
    float velocity = 1.0f;
    ParamValues params{};                  // the track's values where the note starts
    const ParamCurve* cutoff = nullptr;    // the cutoff across the note, where it can move
    uint32_t seed = 1;                     // for the note's noise and oscillator phases
};

// A sound generator: adds one note, with its release, into a track buffer.
// Instruments hold no state between notes, so notes overlap freely.
class Instrument
{
public:
    virtual ~Instrument() = default;
    virtual void render(const NoteContext& note, StereoBuffer& out) const = 0;

    static std::unique_ptr<Instrument> create(Kind kind);

protected:
    // How many of `wanted` samples fit between the note's start and the end
    // of the buffer.
    static size_t room(const NoteContext& note, const StereoBuffer& out, double wantedSeconds);
    // The note's pitch in Hz, or fallback for a hit.
    static float frequency(const NoteContext& note, float fallback);
    // Smooth saturation, close to tanh: odd, 0 at 0, +-1 from +-3 on.
    static float softClip(float x);
    // The per-sample factor of a fall of 60 dB in `seconds`.
    static float fallFactor(float seconds, float rate);
};
