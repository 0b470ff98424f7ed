#include "tools/mrvgfx/SurfaceGraphics.h"

#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Gradient.h"
#include "tools/mrvgfx/Palette.h"
#include "tools/mrvgfx/Random.h"
#include "tools/mrvgfx/ValueNoise.h"

#include <algorithm>
#include <cmath>

namespace {

float clamp01(float v)
{
    return std::min(1.0f, std::max(0.0f, v));
}

// Distance in pixels from x to the nearest multiple of `period`.
float lineDistance(float x, float period)
{
    const float m = std::fmod(x, period);
    return std::min(m, period - m);
}

} // namespace

Canvas SurfaceGraphics::stereoFloor()
{
    const float size = 512.0f;
    const float cell = size / 60.0f;
    Canvas canvas(512, 512);
    const Gradient base({ { 0.0f, Colour::hex(0x8a1f9e) },
                          { 0.18f, Colour::hex(0x4a177e) },
                          { 0.45f, Palette::indigo() },
                          { 0.75f, Palette::night() } });
    canvas.shade([&](float x, float y) {
        const float r = std::hypot(x / size - 0.5f, y / size - 0.5f);
        const Colour floor = base.at(r);
        const float e = std::min(lineDistance(x, cell), lineDistance(y, cell));
        const float rim = std::exp(-e / 0.9f);
        const Colour line = Colour::mix(Palette::cyan(), Palette::magenta(), clamp01(r * 1.6f));
        return floor + line * (rim * (0.9f - 0.5f * clamp01(r * 1.4f)));
    });
    return canvas;
}

Canvas SurfaceGraphics::discoWall()
{
    const float size = 512.0f;
    const float panel = size / 4.0f;
    const float tile = size / 16.0f;
    Canvas canvas(512, 512);
    const ValueNoise noise(77);
    canvas.shade([&](float x, float y) {
        const float px = std::fmod(x, panel) / panel - 0.5f, py = std::fmod(y, panel) / panel - 0.5f;
        const float inner = std::exp(-(px * px + py * py) * 5.0f);
        const float grain = noise.fractal(x / 32.0f, y / 32.0f, 3, 16, 16);
        Colour c = Colour::mix(Palette::ink(), Palette::indigo(), 0.35f + 0.45f * inner + 0.2f * grain);
        const float big = std::min(lineDistance(x, panel), lineDistance(y, panel));
        const float small = std::min(lineDistance(x, tile), lineDistance(y, tile));
        c = c + Palette::magenta() * (std::exp(-big / 2.2f) * 0.9f);
        c = c + Palette::cyan() * (std::exp(-small / 0.6f) * 0.18f);
        return c;
    });
    return canvas;
}

Canvas SurfaceGraphics::ribbonFloor()
{
    const float size = 512.0f;
    const float square = size / 8.0f;
    Canvas canvas(512, 512);
    canvas.shade([&](float x, float y) {
        const int cx = static_cast<int>(x / square), cy = static_cast<int>(y / square);
        const bool light = ((cx + cy) & 1) == 0;
        const float u = std::fmod(x, square) / square - 0.5f, v = std::fmod(y, square) / square - 0.5f;
        const float sheen = std::exp(-(u * u + v * v) * 4.0f);
        Colour c = light ? Colour::mix(Palette::indigo(), Palette::violet(), sheen * 0.5f)
                         : Colour::mix(Palette::ink(), Palette::night(), sheen);
        const float e = std::min(lineDistance(x, square), lineDistance(y, square));
        c = c + Palette::magenta() * std::exp(-e / 1.8f) + Palette::white() * (std::exp(-e / 0.5f) * 0.5f);
        return c;
    });
    return canvas;
}

Canvas SurfaceGraphics::meters()
{
    const int size = 256;
    const float span = static_cast<float>(size);
    Canvas canvas(size, size, Colour::hex(0x584868));
    Random random(808);
    const Colour tints[3] = { Palette::white(), Colour::hex(0xffc8f0), Colour::hex(0xc0f4ff) };
    for (int k = 0; k < 70; ++k)
    {
        const float x = random.range(0.0f, span), y = random.range(0.0f, span);
        const float r = 3.0f + 16.0f * random.uniform() * random.uniform();
        const Colour tint = tints[random.next() % 3];
        const float strength = random.range(0.25f, 0.7f);
        // Each light is drawn at its wrapped copies too, so edges meet.
        for (float dx : { -span, 0.0f, span })
            for (float dy : { -span, 0.0f, span })
            {
                const Shape disc = Shape::circle(x + dx, y + dy, r);
                canvas.glow(disc, tint, r * 0.3f, strength * 0.5f);
                canvas.fill(disc, tint.withAlpha(strength));
            }
    }
    return canvas;
}

Canvas SurfaceGraphics::beams()
{
    const int size = 256;
    Canvas canvas(size, size);
    const ValueNoise noise(4242);
    canvas.shade([&](float x, float y) {
        const float s = x / static_cast<float>(size);
        const float t = 1.0f - y / static_cast<float>(size);
        // Shafts: noise that wraps once around the tube, stretched along it.
        const float shafts = noise.fractal(s * 8.0f, t * 1.5f, 3, 8, 0);
        const float fade = 0.15f + 0.85f * std::pow(1.0f - t, 1.4f);
        const float level = clamp01(fade * (0.45f + 0.75f * shafts * shafts));
        return Colour(1.0f, 1.0f, 1.0f, level);
    });
    return canvas;
}
