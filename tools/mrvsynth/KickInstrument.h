#pragma once

#include "tools/mrvsynth/Instrument.h"

// A bass drum: a sine whose pitch falls fast from punch x pitch to pitch,
// a short noise click on top, and a drive that fattens the body.
class KickInstrument : public Instrument
{
public:
    void render(const NoteContext& note, StereoBuffer& out) const override;
};
