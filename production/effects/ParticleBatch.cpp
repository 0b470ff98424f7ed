#include "production/effects/ParticleBatch.h"

#include "demosys/data/Particle.h"
#include "demosys/gl/VBODynamic.h"

#include <GL/glew.h>

namespace {

// The corners in the order Particle::draw gives them, with their texture
// coordinates.
constexpr float CORNERS[4][2] = { { -1.0f, -1.0f }, { 1.0f, -1.0f }, { 1.0f, 1.0f }, { -1.0f, 1.0f } };
constexpr float UVS[4][2] = { { 0.0f, 1.0f }, { 1.0f, 1.0f }, { 1.0f, 0.0f }, { 0.0f, 0.0f } };

} // namespace

ParticleBatch::ParticleBatch(int capacity_)
    : buffer(new VBODynamic(static_cast<unsigned int>(capacity_) * 4u, 3, 4, 0, 2, 0, 0)), capacity(capacity_)
{
    buffer->openUVBuffer(GL_WRITE_ONLY);
    if (float* uv = buffer->getUVPointer())
        for (int quad = 0; quad < capacity; ++quad)
            for (const float* corner : UVS)
            {
                *uv++ = corner[0];
                *uv++ = corner[1];
            }
    buffer->closeUVBuffer();
}

ParticleBatch::~ParticleBatch() = default;

bool ParticleBatch::open()
{
    if (!opened)
    {
        buffer->openVertexBuffer(GL_WRITE_ONLY);
        buffer->openColorBuffer(GL_WRITE_ONLY);
        vertices = buffer->getVertexPointer();
        colours = buffer->getColorPointer();
        opened = true;
    }
    return vertices && colours;
}

void ParticleBatch::add(Particle& p, float dt)
{
    if (p.getSpin() != 0.0f || count >= capacity || !open())
    {
        p.draw(dt);
        return;
    }
    if (!p.advance(dt))
        return;

    const Vector<float, 3> position = p.getPosition();
    const Vector<float, 4> colour = p.getColor();
    const float alpha = p.getAlpha();
    const float size = p.getSize();
    float* v = vertices + 12 * count;
    float* c = colours + 16 * count;
    for (const float* corner : CORNERS)
    {
        *v++ = position[0] + corner[0] * size;
        *v++ = position[1] + corner[1] * size;
        *v++ = position[2];
        *c++ = colour[0];
        *c++ = colour[1];
        *c++ = colour[2];
        *c++ = alpha;
    }
    ++count;
}

void ParticleBatch::draw()
{
    if (!opened)
        return;
    buffer->closeColorBuffer();
    buffer->closeVertexBuffer();
    opened = false;
    if (count > 0)
        buffer->drawArray(GL_QUADS, 0, static_cast<unsigned int>(count) * 4u);
    count = 0;
}
