#pragma once

#include "tools/mrvsynth/Instrument.h"

// A hand clap: band-passed noise struck in quick bursts, as several hands
// never meet at once, then a short tail.
class ClapInstrument : public Instrument
{
public:
    void render(const NoteContext& note, StereoBuffer& out) const override;
};
