#include "production/effects/Outrun.h"

#include "demosys/gl/GLw.h"
#include "demosys/gl/VBODynamic.h"
#include "production/effects/ColourMaterial.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>

namespace {
// Verges reach far beyond the screen so that the road never shows an edge.
constexpr float VERGE = 45.0f;
constexpr float TURN_SCALE = 2.0f;
constexpr float HILL_SCALE = 2.7f;
constexpr int FLOATS_PER_QUAD = 12;
}

Outrun::Outrun(float width, int segments, int tiles, int rows, const float* colourMap)
    : roadWidth(width),
      segmentCount(segments),
      tilesAcross(tiles),
      rowsPerSegment(rows),
      tileSize(width / static_cast<float>(tiles)),
      floatCount(segments * rows * (tiles + 2) * FLOATS_PER_QUAD),
      basePositions(static_cast<size_t>(floatCount), 0.0f)
{
    precalcTiles();
    precalcColors(colourMap);
}

Outrun::~Outrun() = default;

float Outrun::bend(float depth) const
{
    return std::cos(depth * tileSize) - 1.0f;
}

void Outrun::precalcTiles()
{
    const float s = tileSize;
    const float x0 = -0.5f * roadWidth;
    const float xe = x0 + static_cast<float>(tilesAcross - 1) * s;
    float* out = basePositions.data();
    int written = 0;
    auto quad = [&](float left, float right, float z) {
        const float corners[FLOATS_PER_QUAD] = { left, 0.0f, z, right, 0.0f, z, right, 0.0f, z - s, left, 0.0f, z - s };
        std::memcpy(out + written, corners, sizeof corners);
        written += FLOATS_PER_QUAD;
    };
    float z = -1.0f;
    for (int row = 0; row < segmentCount * rowsPerSegment; ++row)
    {
        quad(-VERGE, x0, z);
        for (int k = 0; k < tilesAcross; ++k)
        {
            const float x = x0 + static_cast<float>(k) * s;
            quad(x, x + s, z);
        }
        // The right verge starts one tile inside the road's edge.
        quad(xe, VERGE, z);
        z -= s;
    }
    std::cout << "Tilemap genereated " << written << " / " << floatCount << std::endl;

    const unsigned int vertices = static_cast<unsigned int>(floatCount / 3);
    vertexBuffer.reset(new VBODynamic(vertices, 3, 3, 0, 0, 0, 0));
    vertexBuffer->openVertexBuffer(GL_WRITE_ONLY);
    if (float* mapped = vertexBuffer->getVertexPointer())
        std::memcpy(mapped, basePositions.data(), basePositions.size() * sizeof(float));
    vertexBuffer->closeVertexBuffer();
}

void Outrun::precalcColors(const float* colourMap)
{
    vertexBuffer->openColorBuffer(GL_WRITE_ONLY);
    float* out = vertexBuffer->getColorPointer();
    if (!out)
    {
        vertexBuffer->closeColorBuffer();
        return;
    }
    auto quad = [&out](const float* rgb) {
        for (int v = 0; v < 4; ++v, out += 3)
            std::memcpy(out, rgb, 3 * sizeof(float));
    };
    for (int segment = 0; segment < segmentCount; ++segment)
        for (int r = 0; r < rowsPerSegment; ++r)
        {
            const float* row = colourMap + static_cast<size_t>(r) * tilesAcross * 3;
            quad(row);
            for (int k = 0; k < tilesAcross; ++k)
                quad(row + k * 3);
            quad(row + (tilesAcross - 1) * 3);
        }
    vertexBuffer->closeColorBuffer();
}

void Outrun::distortTiles()
{
    vertexBuffer->openVertexBuffer(GL_WRITE_ONLY);
    float* out = vertexBuffer->getVertexPointer();
    if (out)
    {
        const int quadsPerRow = tilesAcross + 2;
        const int rowFloats = quadsPerRow * FLOATS_PER_QUAD;
        const int rows = segmentCount * rowsPerSegment;
        const float* base = basePositions.data();
        for (int row = 0; row < rows; ++row)
        {
            const float* b = base + row * rowFloats;
            float* o = out + row * rowFloats;
            const float zr = b[2];
            const float cn = bend(zr + roadPosition);
            const float cf = bend(zr + roadPosition - tileSize);
            const float nx = TURN_SCALE * turn * cn;
            const float ny = HILL_SCALE * hill * cn;
            const float fx = TURN_SCALE * turn * cf;
            const float fy = HILL_SCALE * hill * cf;
            // Only x and y change; z stays as uploaded.
            for (int q = 0; q < quadsPerRow; ++q, b += FLOATS_PER_QUAD, o += FLOATS_PER_QUAD)
            {
                o[0] = b[0] + nx;
                o[1] = b[1] + ny;
                o[3] = b[3] + nx;
                o[4] = b[4] + ny;
                o[6] = b[6] + fx;
                o[7] = b[7] + fy;
                o[9] = b[9] + fx;
                o[10] = b[10] + fy;
            }
        }
    }
    vertexBuffer->closeVertexBuffer();
}

void Outrun::draw(unsigned int frameTime, float speed_)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    speed = speed_;
    roadPosition = std::fmod(roadPosition + static_cast<float>(frameTime) * speed,
                             tileSize * static_cast<float>(rowsPerSegment));
    distortTiles();
    glTranslatef(0.0f, eyeHeight, roadPosition);
    vertexBuffer->drawArray(GL_QUADS, 0, 0);
    glPopMatrix();
}

void Outrun::drawBackground(unsigned int)
{
    GLw::resetAndStoreProjectionModelview();

    // The band's foot follows the hill where the road meets the horizon.
    const float y0 = HILL_SCALE * hill * bend(-4.8f) - 0.5f;
    ColourMaterial::enable();
    ColourMaterial::white();
    // A per-frame drift, not scaled by time: the sky turns with the road.
    backgroundOffset += TURN_SCALE * turn * bend(3.0f) / 30.0f;
    const float o = backgroundOffset;
    glBegin(GL_QUADS);
    glTexCoord2f(o, 1.0f); glVertex2f(-1.5f, y0 + 1.0f);
    glTexCoord2f(o, 0.0f); glVertex2f(-1.5f, y0);
    glTexCoord2f(o + 2.5f, 0.0f); glVertex2f(1.5f, y0);
    glTexCoord2f(o + 2.5f, 1.0f); glVertex2f(1.5f, y0 + 1.0f);
    glEnd();
    ColourMaterial::white();
    ColourMaterial::disable();

    GLw::restoreProjectionModelview();
}

void Outrun::drawLighting()
{
    GLw::resetAndStoreProjectionModelview();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    const float h = std::max(0.0f, HILL_SCALE * hill * bend(-5.3f));
    const float top = h - 0.07f;
    glBegin(GL_QUADS);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f); glVertex2f(-1.5f, top);
    glColor4f(0.45f, 0.0f, 0.75f, 0.0f); glVertex2f(-1.5f, -1.0f);
    glColor4f(0.45f, 0.0f, 0.75f, 0.0f); glVertex2f(1.5f, -1.0f);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f); glVertex2f(1.5f, top);
    glEnd();
    glDisable(GL_BLEND);

    GLw::restoreProjectionModelview();
}

void Outrun::drawTrees(unsigned int frameTime)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    treePosition = std::fmod(treePosition + static_cast<float>(frameTime) * speed,
                             static_cast<float>(segmentCount) * tileSize);
    glTranslatef(0.0f, eyeHeight - 0.8124f, treePosition);

    const float height = 2.8512f;
    const float width = 1.6248f;
    glBegin(GL_QUADS);
    for (int n = 0; n < 10; ++n)
    {
        const float zt = -15.0f + 1.4f * static_cast<float>(n);
        // Far trees fade in, so they do not pop up at the end of the road.
        glColor4f(0.0f, 0.0f, 0.0f, 0.1f * static_cast<float>(n));
        const float c = bend(zt + treePosition);
        const float dx = TURN_SCALE * turn * c;
        const float dy = HILL_SCALE * hill * c;

        const float xl = dx - 2.7f;
        glTexCoord2f(0.4062f, 0.0f); glVertex3f(xl, dy, zt);
        glTexCoord2f(0.0f, 0.0f); glVertex3f(xl + width, dy, zt);
        glTexCoord2f(0.0f, 1.0f); glVertex3f(xl + width, dy + height, zt);
        glTexCoord2f(0.4062f, 1.0f); glVertex3f(xl, dy + height, zt);

        const float xr = dx + 1.15f;
        glTexCoord2f(0.0f, 0.0f); glVertex3f(xr, dy, zt);
        glTexCoord2f(0.4062f, 0.0f); glVertex3f(xr + width, dy, zt);
        glTexCoord2f(0.4062f, 1.0f); glVertex3f(xr + width, dy + height, zt);
        glTexCoord2f(0.0f, 1.0f); glVertex3f(xr, dy + height, zt);
    }
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
