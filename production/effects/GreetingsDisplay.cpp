#include "production/effects/GreetingsDisplay.h"

#include "demosys/gl/Texture.h"
#include "demosys/gl/VBODynamic.h"
#include "production/effects/ColourMaterial.h"

#include <GL/glew.h>

#include <algorithm>

namespace {

// After a row of 150 pixels, the rest of the 1914-pixel map row.
constexpr int ROW_SKIP = 5292;
constexpr int DOT_VERTICES = GreetingsDisplay::ROWS * GreetingsDisplay::COLUMNS * 4;

void writeCorner(float*& v, float*& uv, float s, float t, float x, float y)
{
    *uv++ = s;
    *uv++ = t;
    *v++ = x;
    *v++ = y;
    *v++ = 0.0f;
}

} // namespace

GreetingsDisplay::GreetingsDisplay() = default;

GreetingsDisplay::~GreetingsDisplay() = default;

void GreetingsDisplay::setPanel(const Vector<float, 3>& lo, const Vector<float, 3>& hi)
{
    panelDepth = (lo[2] + hi[2]) * 0.5f;
    const float corners[12] = { lo[0], hi[1], panelDepth, lo[0], lo[1], panelDepth,
                                hi[0], lo[1], panelDepth, hi[0], hi[1], panelDepth };
    std::copy(corners, corners + 12, panel);
}

void GreetingsDisplay::build()
{
    if (dots)
        return;
    dots.reset(new VBODynamic(DOT_VERTICES, 3, 3, 0, 2, 0, 0));
    dots->openVertexBuffer(GL_WRITE_ONLY);
    dots->openUVBuffer(GL_WRITE_ONLY);
    float* v = dots->getVertexPointer();
    float* uv = dots->getUVPointer();
    if (v && uv)
        for (int row = 0; row < ROWS; ++row)
            for (int column = 0; column < COLUMNS; ++column)
            {
                // Worked out in double, as the display was drawn, then
                // handed to the GL as floats.
                const double size = DOT_STEP;
                const double x = DOT_STEP * static_cast<float>(column);
                const double y = -DOT_STEP * static_cast<float>(row);
                const float x0 = static_cast<float>(x), x1 = static_cast<float>(x + size);
                const float y0 = static_cast<float>(y), y1 = static_cast<float>(y + size);
                writeCorner(v, uv, 0.0f, 0.0f, x0, y1);
                writeCorner(v, uv, 1.0f, 0.0f, x0, y0);
                writeCorner(v, uv, 1.0f, 1.0f, x1, y0);
                writeCorner(v, uv, 0.0f, 1.0f, x1, y1);
            }
    dots->closeUVBuffer();
    dots->closeVertexBuffer();
}

void GreetingsDisplay::drawPanel() const
{
    glColor3f(0.0f, 0.0f, 0.0f);
    glBegin(GL_QUADS);
    for (int c = 0; c < 4; ++c)
        glVertex3fv(panel + 3 * c);
    glEnd();
}

void GreetingsDisplay::draw(float frameTime)
{
    if (!dots || !map || !sprite)
        return;
    ColourMaterial::enable();
    int p = static_cast<int>(readPosition);
    brightDots = 0;
    // 1,200 dots a pass: one bind and one draw; only their colours change.
    dots->openColorBuffer(GL_WRITE_ONLY);
    float* colour = dots->getColorPointer();
    if (colour)
        for (int row = 0; row < ROWS; ++row)
        {
            for (int column = 0; column < COLUMNS; ++column)
            {
                const bool bright = map[p] == 0.0f && on;
                const float rgb[3] = { bright ? 1.0f : 0.25f, bright ? 0.5f : 0.12f, 0.0f };
                for (int corner = 0; corner < 4; ++corner, colour += 3)
                    std::copy(rgb, rgb + 3, colour);
                brightDots += bright ? 1 : 0;
                if (on)
                    p += 3;
            }
            if (on)
                p += ROW_SKIP;
        }
    dots->closeColorBuffer();
    sprite->bind();
    dots->drawArray(GL_QUADS, 0, 0);
    sprite->release();
    if (on)
    {
        readPosition += frameTime / 6.0f;
        if (readPosition >= WRAP)
            readPosition = 0.0f;
    }
    ColourMaterial::white();
    ColourMaterial::disable();
}
