#include "tools/mrvsynth/Instrument.h"

#include "tools/mrvsynth/ClapInstrument.h"
#include "tools/mrvsynth/HatInstrument.h"
#include "tools/mrvsynth/KickInstrument.h"
#include "tools/mrvsynth/NoteName.h"
#include "tools/mrvsynth/RiserInstrument.h"
#include "tools/mrvsynth/SnareInstrument.h"
#include "tools/mrvsynth/SynthInstrument.h"

#include <algorithm>
#include <cmath>

std::unique_ptr<Instrument> Instrument::create(Kind kind)
{
    switch (kind)
    {
    case Kind::Kick:
        return std::make_unique<KickInstrument>();
    case Kind::Snare:
        return std::make_unique<SnareInstrument>();
    case Kind::Clap:
        return std::make_unique<ClapInstrument>();
    case Kind::Hat:
        return std::make_unique<HatInstrument>();
    case Kind::Riser:
        return std::make_unique<RiserInstrument>();
    case Kind::Bass:
    case Kind::Pad:
    case Kind::Lead:
    case Kind::Pluck:
        break;
    }
    return std::make_unique<SynthInstrument>();
}

size_t Instrument::room(const NoteContext& note, const StereoBuffer& out, double wantedSeconds)
{
    if (note.start >= out.size())
        return 0;
    const double wanted = std::ceil(wantedSeconds * note.rate);
    return static_cast<size_t>(std::min<double>(wanted, static_cast<double>(out.size() - note.start)));
}

float Instrument::frequency(const NoteContext& note, float fallback)
{
    return note.key < 0 ? fallback : static_cast<float>(NoteName::frequency(note.key));
}

float Instrument::softClip(float x)
{
    if (x >= 3.0f)
        return 1.0f;
    if (x <= -3.0f)
        return -1.0f;
    const float x2 = x * x;
    return x * (27.0f + x2) / (27.0f + 9.0f * x2);
}

float Instrument::fallFactor(float seconds, float rate)
{
    return std::exp(-6.9077553f / (seconds * rate));
}
