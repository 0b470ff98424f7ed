#pragma once

#include "demosys/runtime/Effect.h"
#include "demosys/timeline/Interpolate.h"

class Texture;

// A wheel of ten banknotes round the view axis, 36 degrees apart and each a
// little deeper than the one before, spinning with the frame time. Not
// registered under a class name: a production creates it in code, gives it
// its parameters ("dollar": the note's texture) and, if the wheel is to
// move, an offset curve.
class DollarTransitionEffect : public Effect
{
public:
    DollarTransitionEffect() = default;
    ~DollarTransitionEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;

    void wipeCircular(unsigned int time, unsigned int frameTime);
    void drawDollar(float size, float x, float z);

    // Moves the whole wheel while the music time lies in the curve's window;
    // an unset curve has no window and leaves it where it is.
    Interpolate& getOffsetCurve() { return offset; }

    bool isReady() const { return ready; }
    float getSpinAngle() const { return spinAngle; }

private:
    Texture* note = nullptr;
    float spinAngle = 0.0f;
    Interpolate offset;
    bool ready = false;
};
