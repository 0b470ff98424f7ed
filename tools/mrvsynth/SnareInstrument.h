#pragma once

#include "tools/mrvsynth/Instrument.h"

// A snare: two falling sine partials for the shell and high-passed noise
// for the wires; tone sets how much shell.
class SnareInstrument : public Instrument
{
public:
    void render(const NoteContext& note, StereoBuffer& out) const override;
};
