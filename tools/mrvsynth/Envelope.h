#pragma once

// Attack, decay, sustain, release. The attack is a straight line; decay and
// release are exponential, with their times meaning a fall of 60 dB, so a
// release of 1 s is inaudible after about a second whatever the level.
class Envelope
{
public:
    Envelope(float attack, float decay, float sustain, float release, float rate);

    // The level for the next sample while the note is held (gate) or after.
    float next(bool gate);
    // Below -80 dB after the gate closed: nothing more to hear.
    bool finished() const { return releasing && level < 1e-4f; }

private:
    float attackStep;
    float decayFactor;
    float sustain;
    float releaseFactor;
    float level = 0.0f;
    bool attacking = true;
    bool releasing = false;
};
