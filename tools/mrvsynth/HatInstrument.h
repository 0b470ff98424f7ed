#pragma once

#include "tools/mrvsynth/Instrument.h"

// Hi-hats and cymbals: inharmonic square partials and noise, high-passed;
// a short decay gives a closed hat, a long one an open hat or a crash.
class HatInstrument : public Instrument
{
public:
    void render(const NoteContext& note, StereoBuffer& out) const override;
};
