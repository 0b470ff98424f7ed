#pragma once

#include <array>
#include <string>

// Every setting a track can carry. One list for all instruments so that a
// track's values fit one fixed array; which of them an instrument reads is
// decided by InstrumentKind.
enum Param
{
    // Mixer and sends, read by every track.
    P_VOLUME,
    P_PAN,
    P_REVERB,
    P_DELAY,
    P_DELAYSTEPS,
    P_FEEDBACK,
    P_DUCK,
    // Drums and noise.
    P_PITCH,
    P_PUNCH,
    P_SWEEP,
    P_CLICK,
    P_TONE,
    P_METAL,
    P_TOP,
    P_RISE,
    // Shared by drums and synths.
    P_DECAY,
    P_DRIVE,
    P_CUTOFF,
    P_RESONANCE,
    P_RELEASE,
    // Subtractive synths.
    P_SAW,
    P_SQUARE,
    P_SUB,
    P_PW,
    P_PWM,
    P_UNISON,
    P_DETUNE,
    P_SPREAD,
    P_ENVMOD,
    P_FDECAY,
    P_ATTACK,
    P_SUSTAIN,
    P_VIBRATO,
    P_VIBRATE,
    P_VIBDELAY,
    PARAM_COUNT
};

using ParamValues = std::array<float, PARAM_COUNT>;

// Names and allowed ranges of the parameters as written in a score.
class SynthParam
{
public:
    static const char* name(Param param);
    static float minimum(Param param);
    static float maximum(Param param);
    // Counts (unison voices, delay steps) take whole numbers only.
    static bool isWhole(Param param);
    // False when no parameter has that name.
    static bool find(const std::string& name, Param& param);
};
