#include "tools/mrvsynth/SynthParam.h"

namespace
{
struct Entry
{
    const char* name;
    float minimum;
    float maximum;
    bool whole;
};

// Ranges keep every instrument stable (filters below Nyquist, feedback below
// one) and catch typing slips such as a pan of 10.
const Entry ENTRIES[PARAM_COUNT] = {
    {"volume", 0.0f, 4.0f, false},
    {"pan", -1.0f, 1.0f, false},
    {"reverb", 0.0f, 1.0f, false},
    {"delay", 0.0f, 1.0f, false},
    {"delaysteps", 1.0f, 64.0f, true},
    {"feedback", 0.0f, 0.95f, false},
    {"duck", 0.0f, 1.0f, false},
    {"pitch", 20.0f, 2000.0f, false},
    {"punch", 1.0f, 16.0f, false},
    {"sweep", 0.001f, 1.0f, false},
    {"click", 0.0f, 1.0f, false},
    {"tone", 0.0f, 1.0f, false},
    {"metal", 0.0f, 1.0f, false},
    {"top", 20.0f, 20000.0f, false},
    {"rise", 0.0f, 1.0f, false},
    {"decay", 0.001f, 10.0f, false},
    {"drive", 0.0f, 10.0f, false},
    {"cutoff", 20.0f, 20000.0f, false},
    {"resonance", 0.0f, 1.0f, false},
    {"release", 0.001f, 10.0f, false},
    {"saw", 0.0f, 1.0f, false},
    {"square", 0.0f, 1.0f, false},
    {"sub", 0.0f, 1.0f, false},
    {"pw", 0.05f, 0.95f, false},
    {"pwm", 0.0f, 0.45f, false},
    {"unison", 1.0f, 7.0f, true},
    {"detune", 0.0f, 100.0f, false},
    {"spread", 0.0f, 1.0f, false},
    {"envmod", 0.0f, 8.0f, false},
    {"fdecay", 0.001f, 10.0f, false},
    {"attack", 0.001f, 10.0f, false},
    {"sustain", 0.0f, 1.0f, false},
    {"vibrato", 0.0f, 2.0f, false},
    {"vibrate", 0.05f, 20.0f, false},
    {"vibdelay", 0.0f, 10.0f, false},
};
}

const char* SynthParam::name(Param param)
{
    return ENTRIES[param].name;
}

float SynthParam::minimum(Param param)
{
    return ENTRIES[param].minimum;
}

float SynthParam::maximum(Param param)
{
    return ENTRIES[param].maximum;
}

bool SynthParam::isWhole(Param param)
{
    return ENTRIES[param].whole;
}

bool SynthParam::find(const std::string& name, Param& param)
{
    for (int i = 0; i < PARAM_COUNT; ++i)
    {
        if (name == ENTRIES[i].name)
        {
            param = static_cast<Param>(i);
            return true;
        }
    }
    return false;
}
