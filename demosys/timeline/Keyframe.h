#pragma once

#include "demosys/math/Vector.h"

// One pose of a camera path: where the camera stands and where it looks.
// Angles are in degrees and kept as read; the camera interprets them.
class Keyframe
{
public:
    Keyframe() = default;
    Keyframe(const Vector<float, 3>& position, float pitch, float heading);

    const Vector<float, 3>& getPosition() const { return position; }
    void setPosition(const Vector<float, 3>& p) { position = p; }
    float getPitch() const { return pitch; }
    void setPitch(float p) { pitch = p; }
    float getHeading() const { return heading; }
    void setHeading(float h) { heading = h; }

    // The keyframe's two lines of the animation file: "pos x y z", "rot pitch heading".
    void print() const;

private:
    Vector<float, 3> position;
    float pitch = 0.0f;
    float heading = 0.0f;
};
