#pragma once

#include "tools/mrvsynth/SynthParam.h"

#include <string>

// The instruments a track can be. Bass, pad, lead and pluck are one
// subtractive synthesizer with different starting values; the rest are
// drums and noise with sounds of their own.
enum class Kind
{
    Kick,
    Snare,
    Clap,
    Hat,
    Riser,
    Bass,
    Pad,
    Lead,
    Pluck
};

class InstrumentKind
{
public:
    static bool find(const std::string& name, Kind& kind);
    static const char* name(Kind kind);
    // "kick, snare, ..." for error messages.
    static std::string nameList();

    // Whether a track of this kind reads param; the mixer parameters are
    // read by every kind.
    static bool uses(Kind kind, Param param);
    // "volume, pan, ..." for error messages.
    static std::string paramList(Kind kind);
    // Starting values; parameters the kind does not use are 0.
    static ParamValues defaults(Kind kind);

    static bool isSynth(Kind kind) { return kind >= Kind::Bass; }
};
