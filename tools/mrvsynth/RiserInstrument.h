#pragma once

#include "tools/mrvsynth/Instrument.h"

// Noise swept through a resonant band-pass from cutoff to top over the
// held note: a riser before a drop (rise 1) or a falling whoosh (rise 0).
class RiserInstrument : public Instrument
{
public:
    void render(const NoteContext& note, StereoBuffer& out) const override;
};
