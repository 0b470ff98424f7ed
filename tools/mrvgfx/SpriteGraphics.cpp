#include "tools/mrvgfx/SpriteGraphics.h"

#include "tools/mrvgfx/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

Colour light(float intensity)
{
    const float v = std::min(1.0f, std::max(0.0f, intensity));
    return Colour(1.0f, 1.0f, 1.0f, v);
}

} // namespace

Canvas SpriteGraphics::led(int size)
{
    Canvas canvas(size, size);
    const float c = static_cast<float>(size) * 0.5f;
    canvas.shade([&](float x, float y) {
        // A rounded square lamp body with a bright core and a halo that
        // fades out before the edge, so neighbouring LEDs stay apart.
        const float u = std::fabs(x - c) / c, v = std::fabs(y - c) / c;
        const float square = std::pow(std::pow(u, 4.0f) + std::pow(v, 4.0f), 0.25f);
        const float r = std::hypot(u, v);
        const float body = 1.0f - std::min(1.0f, std::max(0.0f, (square - 0.62f) / 0.08f));
        const float core = std::exp(-r * r * 9.0f);
        const float halo = std::exp(-square * 3.0f) * (1.0f - std::min(1.0f, std::max(0.0f, (square - 0.8f) / 0.2f)));
        const float level = std::max(body * (0.55f + 0.45f * core), halo * 0.5f);
        return light(level);
    });
    return canvas;
}

Canvas SpriteGraphics::particle(int size)
{
    Canvas canvas(size, size);
    const float c = static_cast<float>(size) * 0.5f;
    canvas.shade([&](float x, float y) {
        const float r = std::hypot(x - c, y - c) / c;
        const float edge = std::max(0.0f, 1.0f - r);
        return light(std::exp(-r * r * 10.0f) * 0.85f + edge * edge * 0.25f);
    });
    return canvas;
}

Canvas SpriteGraphics::star(int size)
{
    Canvas canvas(size, size);
    const float c = static_cast<float>(size) * 0.5f;
    canvas.shade([&](float x, float y) {
        const float dx = (x - c) / c, dy = (y - c) / c;
        const float r = std::hypot(dx, dy);
        const float fade = std::max(0.0f, 1.0f - r);
        // Long rays along the axes, short ones on the diagonals.
        const float cross = std::exp(-std::fabs(dx) * 40.0f) + std::exp(-std::fabs(dy) * 40.0f);
        const float diagonal = std::exp(-std::fabs(dx - dy) * 30.0f) + std::exp(-std::fabs(dx + dy) * 30.0f);
        const float core = std::exp(-r * r * 30.0f);
        return light(core + (cross * 0.8f + diagonal * 0.35f * fade) * fade * fade);
    });
    return canvas;
}
