#include "demosys/gl/ScreenQuad.h"

#include <GL/glew.h>

namespace {

// Corners counter-clockwise from the bottom left: x, y of both the vertex
// (times the scale) and the texture coordinate (from 0 to 1).
constexpr float CORNERS[4][2] = { { -1.0f, -1.0f }, { 1.0f, -1.0f }, { 1.0f, 1.0f }, { -1.0f, 1.0f } };

void emit(const int (&order)[4], bool flipped, float scale)
{
    glBegin(GL_QUADS);
    for (int k : order)
    {
        const float s = (CORNERS[k][0] + 1.0f) * 0.5f;
        const float t = (CORNERS[k][1] + 1.0f) * 0.5f;
        glTexCoord2f(s, flipped ? 1.0f - t : t);
        glVertex2f(CORNERS[k][0] * scale, CORNERS[k][1] * scale);
    }
    glEnd();
}

} // namespace

void ScreenQuad::draw(float scale)
{
    emit({ 0, 1, 2, 3 }, false, scale);
}

void ScreenQuad::drawClockwise()
{
    emit({ 3, 2, 1, 0 }, false, 1.0f);
}

void ScreenQuad::drawFlipped()
{
    emit({ 0, 1, 2, 3 }, true, 1.0f);
}
