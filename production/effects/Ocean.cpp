#include "production/effects/Ocean.h"

#include "demosys/gl/VBODynamic.h"
#include "demosys/scene/MRVMesh.h"

#include <GL/glew.h>

#include <cmath>

namespace {
// Units of travel per millisecond.
constexpr float SPEED = 0.005f;
}

Ocean::Ocean(float width_, float depth_, int resolution_)
    : width(width_),
      depth(depth_),
      resolution(resolution_),
      mesh(new MRVMesh(resolution_ * resolution_, (resolution_ - 1) * (resolution_ - 1), 4, true, true, false)),
      waveNoise(0.5f, 0.025f, 0.5f, 3)
{
    generatePlane();
    vertexBuffer.reset(new VBODynamic(mesh.get()));
}

Ocean::~Ocean() = default;

float Ocean::columnX(int c) const
{
    return -width / 2.0f + static_cast<float>(c) * width / static_cast<float>(resolution);
}

void Ocean::generatePlane()
{
    const int n = resolution;
    Vector<float, 3>* vertices = mesh->getVertexPointer();
    for (int i = 0; i < n * n; ++i)
        vertices[i] = Vector<float, 3>();
    for (int r = 0; r < n; ++r)
    {
        const float z = -static_cast<float>(r) * depth / static_cast<float>(n);
        for (int c = 0; c < n; ++c)
            vertices[r * n + c] =
                Vector<float, 3>(columnX(c), -waveNoise.getValue(static_cast<float>(c), static_cast<float>(noiseRow)), z);
        ++noiseRow;
    }
    int face = 0;
    for (int r = 0; r < n - 1; ++r)
        for (int c = 0; c < n - 1; ++c)
        {
            const int t = r * n + c;
            mesh->setQuad(face++, t, t + 1, t + n + 1, t + n);
        }
    const float last = static_cast<float>(n - 1);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            mesh->setTexCoord(r * n + c, Vector<float, 2>(static_cast<float>(c) / last, static_cast<float>(r) / last));
}

void Ocean::move(unsigned int, unsigned int frameTime)
{
    const float spacing = getRowSpacing();
    const float d = translated + static_cast<float>(frameTime) * SPEED;
    translated = std::fmod(d, spacing);
    // One row per call however far the sea went: a long frame skips waves
    // rather than stalling on many rows.
    if (d >= spacing)
        shift();
}

void Ocean::shift()
{
    const int n = resolution;
    vertexBuffer->openVertexBuffer(GL_READ_WRITE);
    float* v = vertexBuffer->getVertexPointer();
    if (v)
    {
        for (int i = 0; i < n * n - n; ++i)
        {
            v[i * 3] = v[(i + n) * 3];
            v[i * 3 + 1] = v[(i + n) * 3 + 1];
        }
        // The new back row lies at the full depth, one spacing behind where
        // the first generation put it.
        float* back = v + (n - 1) * n * 3;
        for (int c = 0; c < n; ++c)
        {
            back[c * 3] = columnX(c);
            back[c * 3 + 1] = -waveNoise.getValue(static_cast<float>(c), static_cast<float>(noiseRow));
            back[c * 3 + 2] = -depth;
        }
        ++noiseRow;
    }
    vertexBuffer->closeVertexBuffer();
}

void Ocean::draw()
{
    glRotatef(-2.0f, -0.4f, 1.0f, 0.0f);
    glTranslatef(0.0f, -0.2f, translated);
    vertexBuffer->drawPolygons(GL_QUADS, 0, 0);
}
