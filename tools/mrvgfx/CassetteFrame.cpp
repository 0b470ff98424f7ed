#include "tools/mrvgfx/CassetteFrame.h"

#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/NeonText.h"
#include "tools/mrvgfx/Palette.h"

#include <cmath>
#include <vector>

namespace {

constexpr float PI = 3.14159265358979f;
constexpr int SIZE = 512;
// The cassette at the proportions of the effect's quad (1.05 : 0.656).
constexpr int W = 640;
constexpr int H = 400;

void screw(Canvas& c, float x, float y)
{
    c.fill(Shape::circle(x, y, 9.0f), Colour::hex(0x5a5068));
    c.fill(Shape::circle(x, y, 7.0f), Colour::hex(0x3a3048));
    c.fill(Shape::capsule({ x - 5.0f, y - 5.0f }, { x + 5.0f, y + 5.0f }, 1.3f), Colour::hex(0x17101f));
    c.fill(Shape::capsule({ x - 5.0f, y + 5.0f }, { x + 5.0f, y - 5.0f }, 1.3f), Colour::hex(0x17101f));
}

void hub(Canvas& c, float x, float y, float angle)
{
    c.fill(Shape::circle(x, y, 27.0f), Colour::hex(0xe8e0f4));
    c.fill(Shape::circle(x, y, 20.0f), Colour::hex(0x0a0612));
    std::vector<Shape> teeth;
    for (int k = 0; k < 6; ++k)
    {
        const float a = angle + PI / 3.0f * static_cast<float>(k);
        const float ca = std::cos(a), sa = std::sin(a);
        teeth.push_back(Shape::capsule({ x + ca * 12.0f, y + sa * 12.0f }, { x + ca * 21.0f, y + sa * 21.0f }, 2.6f));
    }
    c.fill(Shape::unite(teeth), Colour::hex(0xe8e0f4));
    c.glow(Shape::ring(x, y, 27.0f, 1.0f), Palette::cyan(), 2.0f, 0.35f);
}

Canvas cassette(int frame)
{
    Canvas c(W, H, Palette::night());
    const Shape shell = Shape::box(3.0f, 3.0f, W - 3.0f, H - 3.0f, 26.0f);
    c.fill(shell, [](float, float y) {
        return Colour::mix(Colour::hex(0x2a2038), Colour::hex(0x140e1e), y / static_cast<float>(H));
    });
    c.fill(
        Shape::box(3.0f, 3.0f, W - 3.0f, H - 3.0f, 26.0f).subtract(Shape::box(6.0f, 6.0f, W - 6.0f, H - 6.0f, 23.0f)),
        Colour::hex(0x4a3c5c));

    // The label: indigo with sunset stripes across its lower part.
    const Shape label = Shape::box(40.0f, 28.0f, W - 40.0f, 272.0f, 14.0f);
    c.fill(label, Colour::hex(0x21104a));
    const Colour stripes[5] = { Palette::gold(), Palette::orange(), Palette::pink(), Palette::magenta(),
                                Palette::purple() };
    for (int k = 0; k < 5; ++k)
    {
        const float y = 206.0f + 12.0f * static_cast<float>(k);
        c.fill(Shape::box(40.0f, y, W - 40.0f, y + 9.0f).intersect(label), stripes[k]);
    }
    NeonText::neon(c, "KELVARN", 120.0f, 40.0f, 6.0f, Palette::magenta());
    c.fill(NeonText::blocks("C-90", 492.0f, 44.0f, 4.5f, 0.4f), Palette::ice());
    c.fill(Shape::box(56.0f, 40.0f, 100.0f, 90.0f, 6.0f), Palette::ice());
    c.fill(NeonText::blocks("A", 67.0f, 49.0f, 4.4f, 0.0f), Colour::hex(0x21104a));

    // The window onto the reels, with the tape wound mostly on the left.
    const Shape window = Shape::box(150.0f, 108.0f, W - 150.0f, 196.0f, 44.0f);
    c.fill(window, Colour::hex(0x07040c));
    const float left = 222.0f, right = W - 222.0f, y = 152.0f;
    c.fill(Shape::circle(left, y, 78.0f).intersect(window), [&](float px, float py) {
        const float r = std::hypot(px - left, py - y);
        return Colour::mix(Colour::hex(0x2e1824), Colour::hex(0x4a2a34), 0.5f + 0.5f * std::sin(r * 0.9f));
    });
    c.fill(Shape::circle(right, y, 44.0f).intersect(window), [&](float px, float py) {
        const float r = std::hypot(px - right, py - y);
        return Colour::mix(Colour::hex(0x2e1824), Colour::hex(0x4a2a34), 0.5f + 0.5f * std::sin(r * 0.9f));
    });
    c.fill(window.subtract(Shape::box(152.0f, 110.0f, W - 152.0f, 194.0f, 42.0f)), Colour::hex(0x5a4a6c));
    // Frame 4 comes first in time and frame 1 last: the hubs turn clockwise.
    const float angle = PI / 12.0f * static_cast<float>(4 - frame);
    hub(c, left, y, angle);
    hub(c, right, y, angle);

    // The head opening at the bottom edge.
    const Shape opening =
        Shape::polygon({ { 180.0f, 300.0f }, { W - 180.0f, 300.0f }, { W - 150.0f, H - 4.0f }, { 150.0f, H - 4.0f } });
    c.fill(opening, Colour::hex(0x32283e));
    for (float x : { 236.0f, static_cast<float>(W) - 236.0f })
        c.fill(Shape::circle(x, 350.0f, 11.0f), Colour::hex(0x07040c));
    for (float x : { 286.0f, 312.0f, 338.0f })
        c.fill(Shape::box(x - 6.0f, 330.0f, x + 6.0f, 372.0f, 2.0f), Colour::hex(0x07040c));
    for (float x : { 26.0f, static_cast<float>(W) - 26.0f })
        for (float yy : { 22.0f, static_cast<float>(H) - 22.0f })
            screw(c, x, yy);
    screw(c, W * 0.5f, 288.0f);
    return c;
}

} // namespace

Canvas CassetteFrame::draw(int frame)
{
    Canvas canvas(SIZE, SIZE, Palette::night());
    const float size = static_cast<float>(SIZE);
    canvas.draw(cassette(frame), S0 * size, (1.0f - T1) * size, (S1 - S0) * size, (T1 - T0) * size);
    return canvas;
}
