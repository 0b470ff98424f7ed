#pragma once

#include <memory>

class Particle;
class VBODynamic;

// Draws many particles as one vertex array instead of one immediate-mode
// quad between its own matrix push and pop each: a thousand stars were a
// thousand draws a frame. add() takes the particle's step, as
// Particle::draw(dt) does, and queues the quad it would have drawn; draw()
// puts every queued quad on the screen at once, with the texture and blend
// state the caller has set, as Particle::draw leaves them to the caller.
//
// A spinning particle, or one added while the buffer cannot be written, is
// drawn at once by Particle::draw itself: its quad is turned by the GL's
// matrix, which the batch's arithmetic would not match to the pixel.
class ParticleBatch
{
public:
    explicit ParticleBatch(int capacity);
    ~ParticleBatch();

    ParticleBatch(const ParticleBatch&) = delete;
    ParticleBatch& operator=(const ParticleBatch&) = delete;

    void add(Particle& particle, float dt);
    void draw();

private:
    bool open();

    std::unique_ptr<VBODynamic> buffer;
    int capacity;
    int count = 0;
    bool opened = false;
    float* vertices = nullptr;
    float* colours = nullptr;
};
