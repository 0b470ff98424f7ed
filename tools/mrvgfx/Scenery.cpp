#include "tools/mrvgfx/Scenery.h"

#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Palette.h"
#include "tools/mrvgfx/Random.h"
#include "tools/mrvgfx/ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr float PI = 3.14159265358979f;

} // namespace

Gradient Scenery::sky()
{
    return Gradient({ { 0.0f, Colour::hex(0xffb45a) },
                      { 0.06f, Colour::hex(0xff6f7a) },
                      { 0.2f, Colour::hex(0xd6248f) },
                      { 0.42f, Colour::hex(0x6a1682) },
                      { 0.7f, Palette::indigo() },
                      { 1.0f, Palette::night() } });
}

void Scenery::paintSky(Canvas& canvas, float top, float horizon)
{
    const Gradient g = sky();
    canvas.shadeOver([&](float, float y) {
        if (y > horizon)
            return Colour(0.0f, 0.0f, 0.0f, 0.0f);
        return g.at((horizon - y) / (horizon - top));
    });
}

void Scenery::paintStars(Canvas& canvas, Random& random, Shape::Bounds area, int count, bool wrapX)
{
    const float span = area.x1 - area.x0;
    for (int k = 0; k < count; ++k)
    {
        const float x = random.range(area.x0, area.x1);
        const float y = random.range(area.y0, area.y1);
        const float size = 0.35f + 0.6f * random.uniform() * random.uniform();
        const float fade = 1.0f - (y - area.y0) / (area.y1 - area.y0);
        const Colour tint = random.uniform() < 0.3f ? Palette::cyan() : Palette::ice();
        const float strength = (0.35f + 0.65f * random.uniform()) * fade;
        for (float dx : { 0.0f, -span, span })
        {
            if (dx != 0.0f && !wrapX)
                continue;
            canvas.glow(Shape::circle(x + dx, y, size * 0.5f), tint, size * 0.8f, strength);
        }
    }
}

void Scenery::paintSun(Canvas& canvas, float cx, float cy, float radius, float horizon)
{
    const Gradient body({ { 0.0f, Colour::hex(0xfff27a) },
                          { 0.45f, Colour::hex(0xffa23a) },
                          { 0.75f, Colour::hex(0xff4f7a) },
                          { 1.0f, Colour::hex(0xe0218f) } });
    std::vector<Shape> gaps;
    // Gaps start at the middle and widen towards the bottom edge.
    for (int k = 0; k < 7; ++k)
    {
        const float t = static_cast<float>(k) / 7.0f;
        const float y = cy + radius * (0.08f + 0.92f * t);
        const float thick = radius * (0.018f + 0.075f * t);
        gaps.push_back(Shape::box(cx - radius - 2.0f, y - thick, cx + radius + 2.0f, y + thick));
    }
    const Shape above = Shape::box(cx - radius - 2.0f, cy - radius - 2.0f, cx + radius + 2.0f, horizon);
    const Shape disc = Shape::circle(cx, cy, radius).subtract(Shape::unite(gaps)).intersect(above);
    canvas.glow(Shape::circle(cx, cy, radius).intersect(above), Colour::hex(0xff3f8f), radius * 0.35f, 0.5f);
    canvas.fill(disc, [&](float, float y) { return body.at((y - (cy - radius)) / (2.0f * radius)); });
}

void Scenery::paintMountains(Canvas& canvas, unsigned seed, float horizon, float height, float period,
                             const Colour& body, const Colour& rim)
{
    const ValueNoise noise(seed);
    const int cells = 6;
    auto ridge = [noise, horizon, height, period, cells](float x) {
        const float u = x / period * static_cast<float>(cells);
        const float n = noise.fractal(u, 4, period > 0.0f ? cells : 0);
        // Sharpened: peaks rather than rolling hills.
        const float peak = std::pow(std::max(0.0f, n - 0.25f) / 0.75f, 1.6f);
        return horizon - height * peak;
    };
    // The range is everything below the ridge: its distance is the height
    // above the ridge, shortened by the slope so edges antialias evenly.
    auto distance = [ridge](float x, float y) {
        const float r = ridge(x);
        const float slope = (ridge(x + 0.5f) - ridge(x - 0.5f));
        return (r - y) / std::sqrt(1.0f + slope * slope);
    };
    const float w = static_cast<float>(canvas.width());
    const Shape range([distance, horizon](float x, float y) { return std::max(distance(x, y), y - horizon - 1.0f); },
                      { -1.0f, horizon - height - 1.0f, w + 1.0f, horizon + 1.0f });
    canvas.fill(range, [&](float, float y) {
        const float t = std::min(1.0f, std::max(0.0f, (horizon - y) / height));
        return Colour::mix(body, Colour::mix(body, rim, 0.25f), t);
    });
    const Shape line([distance](float x, float y) { return std::fabs(distance(x, y)) - 0.8f; },
                     { -1.0f, horizon - height - 1.0f, w + 1.0f, horizon + 1.0f });
    canvas.glow(line, rim, 2.5f, 0.45f);
    canvas.fill(line, Colour::mix(rim, Palette::white(), 0.3f));
}

void Scenery::paintGrid(Canvas& canvas, float horizon, float vanishX, float bottom, float spacing, const Colour& line)
{
    const float depth = bottom - horizon;
    const float w = static_cast<float>(canvas.width());
    constexpr int CROSS_LINES = 14;
    // Cross lines at evenly spaced distances crowd towards the horizon as
    // 1 / distance; long lines run from the vanishing point, 2.2 spacings
    // apart at the bottom edge. Both widen towards the viewer.
    auto distance = [=](float x, float y) {
        if (y < horizon)
            return horizon - y + 0.5f;
        const float near = (y - horizon) / depth;
        float best = 1e9f;
        for (int k = 0; k < CROSS_LINES; ++k)
        {
            const float yk = horizon + depth / (1.0f + static_cast<float>(k) * 0.55f);
            const float rk = 0.35f + 1.1f * (yk - horizon) / depth;
            best = std::min(best, std::fabs(y - yk) - rk);
        }
        const float step = spacing * 2.2f * near;
        const float offset = (x - vanishX) / std::max(step, 1e-3f);
        const float nearest = std::round(offset);
        const float dx = std::fabs(offset - nearest) * step;
        // Perpendicular to a line leaning by its slope.
        const float slope = nearest * spacing * 2.2f / depth;
        best = std::min(best, dx / std::sqrt(1.0f + slope * slope) - (0.3f + 1.1f * near));
        return best;
    };
    const Shape grid(distance, { -1.0f, horizon, w + 1.0f, bottom + 1.0f });
    canvas.glow(grid, line, 3.0f, 0.5f);
    canvas.fill(grid, Colour::mix(line, Palette::white(), 0.35f));
}

Shape Scenery::frond(Shape::Point start, Shape::Point direction, float length, float droop, float width, int steps)
{
    std::vector<Shape> parts;
    std::vector<Shape::Point> rib;
    const float dl = std::max(1e-3f, std::hypot(direction.x, direction.y));
    for (int k = 0; k <= steps; ++k)
    {
        const float s = static_cast<float>(k) / static_cast<float>(steps);
        rib.push_back(
            { start.x + direction.x / dl * length * s, start.y + direction.y / dl * length * s + droop * s * s });
    }
    parts.push_back(Shape::stroke(rib, width, width * 0.28f));
    // Leaflets hang from the rib, longest in the middle of the frond.
    for (int k = 1; k < steps; ++k)
    {
        const Shape::Point p = rib[static_cast<size_t>(k)];
        const Shape::Point q = rib[static_cast<size_t>(k + 1)];
        const float s = static_cast<float>(k) / static_cast<float>(steps);
        const float leaflet = length * 0.32f * std::sin(PI * s);
        const float tx = q.x - p.x, ty = q.y - p.y;
        const float tl = std::max(1e-3f, std::hypot(tx, ty));
        for (int side : { -1, 1 })
        {
            const float nx = -ty / tl * static_cast<float>(side), ny = tx / tl * static_cast<float>(side);
            const Shape::Point end { p.x + (nx * 0.6f + tx / tl * 0.5f) * leaflet,
                                     p.y + (ny * 0.6f + ty / tl * 0.5f) * leaflet + leaflet * 0.55f };
            parts.push_back(Shape::capsule(p, end, width * 0.44f, width * 0.11f));
        }
    }
    return Shape::unite(std::move(parts));
}

Shape Scenery::palm(float baseX, float baseY, float height, float lean, float trunk, unsigned seed, float spread)
{
    Random random(seed);
    std::vector<Shape> parts;
    std::vector<Shape::Point> stem;
    for (int k = 0; k <= 12; ++k)
    {
        const float t = static_cast<float>(k) / 12.0f;
        stem.push_back({ baseX + lean * std::pow(t, 1.6f), baseY - height * t });
    }
    parts.push_back(Shape::stroke(stem, trunk * 0.5f, trunk * 0.3f));
    const Shape::Point crown = stem.back();
    const int fronds = 9;
    for (int f = 0; f < fronds; ++f)
    {
        // Fronds fan over the top and droop at the sides.
        const float angle =
            PI * (-0.05f + 1.1f * static_cast<float>(f) / static_cast<float>(fronds - 1)) + random.range(-0.12f, 0.12f);
        const float length = height * spread * random.range(0.42f, 0.56f);
        const float droop = length * random.range(0.55f, 0.85f);
        parts.push_back(frond(crown, { -std::cos(angle), -std::sin(angle) * 0.7f }, length, droop, trunk * 0.36f, 10));
    }
    return Shape::unite(std::move(parts));
}
