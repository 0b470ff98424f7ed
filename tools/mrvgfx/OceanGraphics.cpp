#include "tools/mrvgfx/OceanGraphics.h"

#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Gradient.h"
#include "tools/mrvgfx/Palette.h"
#include "tools/mrvgfx/Random.h"
#include "tools/mrvgfx/Scenery.h"
#include "tools/mrvgfx/ValueNoise.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int SIZE = 512;
// The screen, painted at 16:9 and then fitted into the quad's part of the
// picture.
constexpr float W = 640.0f;
constexpr float H = 360.0f;
// The screen's frustum: half-height 0.5625 at distance 1.
constexpr float HALF_HEIGHT = 0.5625f;

// The sun over the sea's vanishing point, in normalised device coordinates.
constexpr float SUN_X = 0.04f;
constexpr float SUN_Y = 0.34f;
constexpr float SUN_RADIUS = 0.44f;
// Sky painted down to a hair below the middle of the screen, so no row
// between the sea's far edge and the sky stays uncovered.
constexpr float HORIZON_Y = -0.006f;

float screenX(float ndc)
{
    return (ndc + 1.0f) * 0.5f * W;
}

float screenY(float ndc)
{
    return (1.0f - ndc) * 0.5f * H;
}

// The sea's edges as the effect projects them (its heightfield under the
// ocean's transforms and the screen's frustum), at their innermost over all
// wave heights and scroll offsets: the shores must reach at least this far
// in, or the black behind the sea shows at its sides.
float seaLeftEdge(float ndcY)
{
    return -0.034f + 1.045f * ndcY;
}

float seaRightEdge(float ndcY)
{
    return 0.117f - 1.34f * ndcY;
}

Canvas finish(const Canvas& screen)
{
    Canvas canvas(SIZE, SIZE);
    const float size = static_cast<float>(SIZE);
    canvas.draw(screen, 0.0f, 0.0f, size, (1.0f - OceanGraphics::SCREEN_FROM) * size);
    canvas.bleed(4);
    return canvas;
}

Shape shore(bool left, unsigned seed)
{
    const ValueNoise noise(seed);
    // The waterline, pushed a little further over the sea by gentle noise.
    const float overlap = 0.03f;
    const float top = HORIZON_Y;
    const float bottom = left ? (-1.0f + 0.034f - overlap) / 1.045f : -(1.0f - 0.117f + overlap) / 1.34f;
    std::vector<Shape::Point> outline;
    const int steps = 60;
    for (int k = 0; k <= steps; ++k)
    {
        const float y = top + (bottom - 0.05f - top) * static_cast<float>(k) / static_cast<float>(steps);
        const float wobble = 0.04f * noise.fractal(static_cast<float>(k) * 0.25f, 3) * (top - y);
        const float x = left ? seaLeftEdge(y) + overlap + wobble : seaRightEdge(y) - overlap - wobble;
        outline.push_back({ screenX(x), screenY(y) });
    }
    const float side = left ? -20.0f : W + 20.0f;
    outline.push_back({ side, outline.back().y });
    outline.push_back({ side, screenY(top) });
    return Shape::polygon(outline);
}

} // namespace

Canvas OceanGraphics::beach()
{
    const float horizon = screenY(HORIZON_Y);
    // The sky is painted apart and cut at the horizon, so none of its glow
    // settles on the sea.
    Canvas sky(static_cast<int>(W), static_cast<int>(H));
    Scenery::paintSky(sky, 0.0f, horizon);
    Random random(31337);
    Scenery::paintStars(sky, random, { 0.0f, 2.0f, W, horizon * 0.55f }, 70, false);
    Scenery::paintSun(sky, screenX(SUN_X), screenY(SUN_Y), SUN_RADIUS * 0.5f * H, horizon);
    Scenery::paintMountains(sky, 5, horizon + 0.5f, 22.0f, W, Colour::hex(0x3a1060), Palette::magenta());
    const Shape seam = Shape::box(-4.0f, horizon - 1.0f, W + 4.0f, horizon);
    sky.glow(seam, Colour::hex(0xffc070), 2.0f, 0.5f);
    sky.multiplyAlpha([horizon](float, float y) { return horizon - y + 0.5f; });
    Canvas screen(static_cast<int>(W), static_cast<int>(H));
    screen.draw(sky, 0.0f, 0.0f, W, H);

    // Sand lit by the sunset: pink near the water, violet further out, with
    // streaks that widen towards the viewer.
    const ValueNoise ripples(99);
    for (bool left : { true, false })
    {
        const Shape land = shore(left, left ? 3u : 4u);
        screen.fill(land, [&](float x, float y) {
            const float near = (y - horizon) / (H - horizon);
            const float ndcY = 1.0f - 2.0f * y / H;
            const float edge = left ? seaLeftEdge(ndcY) : seaRightEdge(ndcY);
            const float fromWater = std::fabs((x / W * 2.0f - 1.0f) - edge);
            const float streak = ripples.fractal(x / (20.0f + 60.0f * near), y / (2.0f + 6.0f * near), 3);
            Colour c = Colour::mix(Colour::hex(0xf08aa0), Colour::hex(0x6a2a78), std::min(1.0f, fromWater * 1.8f));
            c = Colour::mix(c, Colour::hex(0x2a0c3c), 0.45f * near);
            return c * (0.85f + 0.3f * streak);
        });
        // Surf: light along the water's edge, spilling a little onto the sea.
        const Shape rim =
            Shape([land](float x, float y) { return std::fabs(land.distance(x, y)) - 0.8f; }, land.bounds());
        screen.glow(rim.intersect(Shape::box(-30.0f, horizon + 2.0f, W + 30.0f, H + 30.0f)), Palette::ice(), 2.5f,
                    0.6f);
    }

    // Palms on the shores, dark against the sky with a warm rim.
    const Colour palmColour = Colour::hex(0x13061f);
    const struct
    {
        float x, y, height, lean, trunk;
        unsigned seed;
    } palms[] = {
        { 34.0f, 306.0f, 220.0f, 50.0f, 12.0f, 21 },
        { 170.0f, 236.0f, 120.0f, 22.0f, 7.0f, 22 },
        { 598.0f, 262.0f, 170.0f, -40.0f, 10.0f, 23 },
    };
    for (const auto& p : palms)
    {
        const Shape palm = Scenery::palm(p.x, p.y, p.height, p.lean, p.trunk, p.seed);
        screen.glow(palm, Palette::pink(), 2.0f, 0.35f);
        screen.fill(palm, palmColour);
    }
    return finish(screen);
}

Canvas OceanGraphics::reflection()
{
    const int size = 256;
    Canvas canvas(size, size);
    const Gradient sky = Scenery::sky();
    const float sx = SUN_X, sy = SUN_Y * HALF_HEIGHT;
    const float sl = std::sqrt(sx * sx + sy * sy + 1.0f);
    const float sun[3] = { sx / sl, sy / sl, -1.0f / sl };
    const float sunAngle = std::atan(SUN_RADIUS * HALF_HEIGHT);
    const Gradient disc({ { 0.0f, Colour::hex(0xfff27a) },
                          { 0.45f, Colour::hex(0xffa23a) },
                          { 0.75f, Colour::hex(0xff4f7a) },
                          { 1.0f, Colour::hex(0xe0218f) } });
    canvas.shade([&](float x, float y) {
        const float nx = 2.0f * x / static_cast<float>(size) - 1.0f;
        const float ny = 1.0f - 2.0f * y / static_cast<float>(size);
        const float q = nx * nx + ny * ny;
        if (q > 1.0f)
            return Palette::ink();
        const float nz = std::sqrt(1.0f - q);
        // The ray that this texel's sphere normal reflects towards the eye.
        const float r[3] = { 2.0f * nz * nx, 2.0f * nz * ny, 2.0f * nz * nz - 1.0f };
        const float flat = std::sqrt(r[0] * r[0] + r[2] * r[2]);
        if (r[1] < 0.0f)
            return Colour::mix(Colour::hex(0x2a0c3a), Palette::ink(), std::min(1.0f, -r[1] * 3.0f));
        const float height = std::min(1.0f, r[1] / std::max(flat, 1e-4f) / HALF_HEIGHT);
        Colour c = sky.at(height);
        const float cosA = r[0] * sun[0] + r[1] * sun[1] + r[2] * sun[2];
        const float angle = std::acos(std::min(1.0f, std::max(-1.0f, cosA)));
        if (angle < sunAngle)
            c = disc.at(0.5f + 0.5f * (sun[1] - r[1]) / std::sin(sunAngle));
        else
            c = c + Colour::hex(0xff3f8f) * (0.5f * std::exp(-(angle - sunAngle) / (sunAngle * 0.35f)));
        // The bright seam at the horizon.
        c = c + Colour::hex(0xffc070) * (0.4f * std::exp(-height * 30.0f));
        return c;
    });
    return canvas;
}

Canvas OceanGraphics::leaf(int which)
{
    // The leaf quads reach a little above the screen (to 1.049 in device
    // units at the top) and almost to its bottom (-0.978).
    const float top = 1.049f, bottom = -0.978f;
    const float h = (top - bottom) * 0.5f * H;
    Canvas screen(static_cast<int>(W), static_cast<int>(h));
    const bool fromLeft = which == 1;
    Random random(fromLeft ? 401u : 402u);
    std::vector<Shape> fronds;
    const int count = 4;
    for (int k = 0; k < count; ++k)
    {
        const float spread = static_cast<float>(k) / static_cast<float>(count - 1);
        const float sx = fromLeft ? random.range(-60.0f, 20.0f) : W - random.range(-60.0f, 20.0f);
        const Shape::Point start { sx, random.range(-50.0f, -10.0f) };
        // From steep to nearly flat: the fronds fan out of the corner.
        const float angle = 0.25f + 1.0f * spread;
        const float dx = std::sin(angle) * (fromLeft ? 1.0f : -1.0f), dy = std::cos(angle) * 0.6f;
        const float length = random.range(260.0f, 360.0f) * (0.75f + 0.25f * spread);
        fronds.push_back(Scenery::frond(start, { dx, dy }, length, length * random.range(0.35f, 0.55f), 8.0f, 26));
    }
    const Shape leaves = Shape::unite(fronds);
    screen.glow(leaves, Palette::magenta(), 3.0f, 0.25f);
    screen.fill(leaves, [&](float, float y) {
        return Colour::mix(Colour::hex(0x2a0b3c), Colour::hex(0x0a0314), std::min(1.0f, y / (h * 0.6f)));
    });
    return finish(screen);
}
