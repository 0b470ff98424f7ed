#pragma once

#include "demosys/math/Vector.h"

// One CPU-simulated particle, drawn as an immediate-mode textured quad in
// the xy plane. Effects keep arrays of them, advance and draw each once per
// frame and set a dead one up again.
//
// Lifespan: -1 lives for ever, 0 is dead, anything else is the seconds left;
// a mortal particle's alpha is its remaining lifespan, so it fades out over
// its last second. Texture and blending are the caller's.
class Particle
{
public:
    Particle() = default;

    Particle* setPosition(float x, float y, float z);
    Particle* setDirection(float x, float y, float z);
    Particle* setGravity(float x, float y, float z);
    // 1 keeps the speed, above 1 speeds up, below 1 slows down.
    Particle* setAcceleration(float a);
    Particle* setSize(float s);
    // Keeps the alpha.
    Particle* setColor(float r, float g, float b);
    Particle* setColor(float r, float g, float b, float a);
    Particle* setLifespan(float seconds);
    Particle* setEnergy(float e);
    // Spin in degrees per second; the angle starts again from 0.
    Particle* setRotation(float spin);

    Vector<float, 3> getPosition() const { return position; }
    Vector<float, 3> getDirection() const { return direction; }
    Vector<float, 3> getGravity() const { return gravity; }
    float getAcceleration() const { return acceleration; }
    float getSize() const { return size; }
    Vector<float, 4> getColor() const { return color; }
    float getLifespan() const { return lifespan; }
    float getEnergy() const { return energy; }
    float getAngle() const { return angle; }
    float getSpin() const { return spin; }

    bool isDead() const { return lifespan == 0.0f; }
    void kill() { lifespan = 0.0f; }
    // The alpha it is drawn with: a mortal particle fades with its lifespan.
    float getAlpha() const { return lifespan != -1.0f ? lifespan : color[3]; }

    // Moves, turns, ages and fades by dt seconds, the step draw() takes
    // before drawing; false, with nothing changed, for a dead particle.
    // For those who draw the quad themselves.
    bool advance(float dt);

    // Advances by dt seconds and draws; a dead particle neither moves nor
    // draws.
    void draw(float dt);
    // The same with a further rotation by -angle degrees about the axis,
    // after the spin.
    void draw(float dt, float angle, const Vector<int, 3>& axis);

private:
    void drawQuad(bool extraRotation, float extraAngle, const Vector<int, 3>& axis) const;

    Vector<float, 3> position;
    Vector<float, 3> direction;
    Vector<float, 3> gravity;
    float acceleration = 1.0f;
    float size = 0.0f;
    Vector<float, 4> color{ 1.0f, 1.0f, 1.0f, 0.0f };
    float lifespan = -1.0f;
    float energy = 1.0f;
    float angle = 0.0f;
    float spin = 0.0f;
};
