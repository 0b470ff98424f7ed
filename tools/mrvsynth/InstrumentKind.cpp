#include "tools/mrvsynth/InstrumentKind.h"

#include <utility>
#include <vector>

namespace
{
using Defaults = std::vector<std::pair<Param, float>>;

struct KindEntry
{
    Kind kind;
    const char* name;
    Defaults defaults;
};

const Defaults MIXER = {{P_VOLUME, 1.0f}, {P_PAN, 0.0f},     {P_REVERB, 0.0f}, {P_DELAY, 0.0f},
                        {P_DELAYSTEPS, 3.0f}, {P_FEEDBACK, 0.35f}, {P_DUCK, 0.0f}};

// The synth kinds share one parameter set: these are the sounds they start
// from before a score adjusts them.
Defaults synth(float saw, float square, float sub, float unison, float detune, float spread, float cutoff,
               float resonance, float envmod, float fdecay, float attack, float decay, float sustain,
               float release, float vibrato, float vibrate, float vibdelay)
{
    return {{P_SAW, saw},         {P_SQUARE, square},     {P_SUB, sub},          {P_PW, 0.5f},
            {P_PWM, 0.0f},        {P_UNISON, unison},     {P_DETUNE, detune},    {P_SPREAD, spread},
            {P_CUTOFF, cutoff},   {P_RESONANCE, resonance}, {P_ENVMOD, envmod},  {P_FDECAY, fdecay},
            {P_ATTACK, attack},   {P_DECAY, decay},       {P_SUSTAIN, sustain},  {P_RELEASE, release},
            {P_VIBRATO, vibrato}, {P_VIBRATE, vibrate},   {P_VIBDELAY, vibdelay}, {P_DRIVE, 0.0f}};
}

const std::vector<KindEntry>& entries()
{
    static const std::vector<KindEntry> table = {
        {Kind::Kick, "kick",
         {{P_PITCH, 48.0f}, {P_PUNCH, 4.0f}, {P_SWEEP, 0.035f}, {P_DECAY, 0.45f}, {P_DRIVE, 0.8f},
          {P_CLICK, 0.4f}}},
        {Kind::Snare, "snare", {{P_PITCH, 190.0f}, {P_DECAY, 0.22f}, {P_TONE, 0.5f}, {P_CUTOFF, 1800.0f}}},
        {Kind::Clap, "clap", {{P_DECAY, 0.2f}, {P_CUTOFF, 1200.0f}}},
        {Kind::Hat, "hat", {{P_DECAY, 0.05f}, {P_CUTOFF, 7000.0f}, {P_METAL, 0.5f}}},
        {Kind::Riser, "riser",
         {{P_CUTOFF, 400.0f}, {P_TOP, 9000.0f}, {P_RESONANCE, 0.5f}, {P_RISE, 1.0f}, {P_RELEASE, 0.3f}}},
        {Kind::Bass, "bass",
         synth(1.0f, 0.4f, 0.6f, 2, 8, 0.0f, 250, 0.35f, 3.0f, 0.18f, 0.002f, 0.25f, 0.75f, 0.06f, 0, 5, 0)},
        {Kind::Pad, "pad",
         synth(1.0f, 0.0f, 0.0f, 5, 14, 0.9f, 1800, 0.15f, 0.5f, 1.5f, 0.5f, 1.0f, 0.85f, 2.5f, 0.06f, 0.3f, 0)},
        {Kind::Lead, "lead",
         synth(0.7f, 0.6f, 0.0f, 2, 9, 0.35f, 2400, 0.2f, 1.5f, 0.3f, 0.01f, 0.3f, 0.8f, 0.25f, 0.25f, 5.5f,
               0.22f)},
        {Kind::Pluck, "pluck",
         synth(0.8f, 0.5f, 0.0f, 1, 0, 0.0f, 600, 0.3f, 4.0f, 0.12f, 0.001f, 0.25f, 0.0f, 0.15f, 0, 5, 0)},
    };
    return table;
}

const KindEntry& entryOf(Kind kind)
{
    for (const KindEntry& entry : entries())
        if (entry.kind == kind)
            return entry;
    return entries().front();
}

bool listed(const Defaults& list, Param param)
{
    for (const auto& item : list)
        if (item.first == param)
            return true;
    return false;
}
}

bool InstrumentKind::find(const std::string& name, Kind& kind)
{
    for (const KindEntry& entry : entries())
    {
        if (name == entry.name)
        {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

const char* InstrumentKind::name(Kind kind)
{
    return entryOf(kind).name;
}

std::string InstrumentKind::nameList()
{
    std::string list;
    for (const KindEntry& entry : entries())
        list += (list.empty() ? "" : ", ") + std::string(entry.name);
    return list;
}

bool InstrumentKind::uses(Kind kind, Param param)
{
    return listed(MIXER, param) || listed(entryOf(kind).defaults, param);
}

std::string InstrumentKind::paramList(Kind kind)
{
    std::string list;
    for (int i = 0; i < PARAM_COUNT; ++i)
        if (uses(kind, static_cast<Param>(i)))
            list += (list.empty() ? "" : ", ") + std::string(SynthParam::name(static_cast<Param>(i)));
    return list;
}

ParamValues InstrumentKind::defaults(Kind kind)
{
    ParamValues values{};
    for (const auto& item : MIXER)
        values[item.first] = item.second;
    for (const auto& item : entryOf(kind).defaults)
        values[item.first] = item.second;
    return values;
}
