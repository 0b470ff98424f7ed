#include "tools/mrvgfx/LogoGraphics.h"

#include "mrvutils/BitmapFont.h"
#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Gradient.h"
#include "tools/mrvgfx/NeonText.h"
#include "tools/mrvgfx/Palette.h"
#include "tools/mrvgfx/Random.h"
#include "tools/mrvgfx/Scenery.h"

#include <algorithm>
#include <cmath>

namespace {

const char* const NAME = "KELVARN";

// The loading pictures are painted at the screen's 16:9 and squeezed into
// their 2:1 files, which the screen stretches back.
constexpr float SCREEN_W = 1024.0f;
constexpr float SCREEN_H = 576.0f;
constexpr float HORIZON = 0.6f;
constexpr float TITLE_Y = 0.12f;
constexpr float TITLE_WIDTH = 0.56f;

float titleCell()
{
    return SCREEN_W * TITLE_WIDTH / static_cast<float>(BitmapFont::width(NAME));
}

float titleX()
{
    return SCREEN_W * (1.0f - TITLE_WIDTH) * 0.5f;
}

Shape barTrack()
{
    return Shape::box(-8.0f, SCREEN_H * LogoGraphics::BAR_TOP, SCREEN_W + 8.0f, SCREEN_H * LogoGraphics::BAR_BOTTOM);
}

Canvas toFile(const Canvas& screen)
{
    Canvas file(512, 256);
    file.draw(screen, 0.0f, 0.0f, 512.0f, 256.0f);
    return file;
}

} // namespace

Canvas LogoGraphics::emblem(int size)
{
    const float s = static_cast<float>(size);
    const float horizon = s * 0.6f;
    Canvas c(size, size, Palette::ink());
    Scenery::paintSky(c, 0.0f, horizon);
    Random random(static_cast<uint64_t>(size));
    Scenery::paintStars(c, random, { 0.0f, 0.0f, s, horizon * 0.45f }, size / 6, false);
    Scenery::paintSun(c, s * 0.5f, s * 0.42f, s * 0.25f, horizon);
    Scenery::paintMountains(c, 9, horizon, s * 0.06f, s, Colour::hex(0x2a0c4e), Palette::magenta());
    Scenery::paintGrid(c, horizon, s * 0.5f, s, s / 12.0f, Palette::magenta());
    const float cell = s * 0.84f / static_cast<float>(BitmapFont::width(NAME));
    // A dark band behind the name keeps the tubes readable over the grid.
    c.fill(Shape::box(0.0f, s * 0.66f, s, s * 0.66f + cell * 9.0f), Colour(0.03f, 0.0f, 0.06f, 0.55f));
    NeonText::neonCentred(c, NAME, s * 0.5f, s * 0.66f + cell, cell, Palette::cyan());
    const float inset = s * 0.03f;
    const Shape frame =
        Shape::box(inset, inset, s - inset, s - inset, s * 0.05f)
            .subtract(Shape::box(inset + 2.0f, inset + 2.0f, s - inset - 2.0f, s - inset - 2.0f, s * 0.05f - 2.0f));
    c.glow(frame, Palette::magenta(), s * 0.012f, 0.6f);
    c.fill(frame, Colour::hex(0xffb0f0));
    return c;
}

Canvas LogoGraphics::loadingBackground()
{
    const float horizon = SCREEN_H * HORIZON;
    Canvas c(static_cast<int>(SCREEN_W), static_cast<int>(SCREEN_H), Palette::ink());
    Scenery::paintSky(c, 0.0f, horizon);
    Random random(2600);
    Scenery::paintStars(c, random, { 0.0f, 0.0f, SCREEN_W, horizon * 0.5f }, 160, false);
    Scenery::paintSun(c, SCREEN_W * 0.5f, horizon - SCREEN_H * 0.12f, SCREEN_H * 0.24f, horizon);
    Scenery::paintMountains(c, 17, horizon, SCREEN_H * 0.09f, SCREEN_W, Colour::hex(0x2a0c4e), Palette::magenta());
    Scenery::paintGrid(c, horizon, SCREEN_W * 0.5f, SCREEN_H, SCREEN_W / 24.0f, Palette::purple());
    // The name in tubes that are not lit yet.
    const float cell = titleCell();
    const Shape tubes = NeonText::tubes(NAME, titleX(), SCREEN_H * TITLE_Y, cell, cell * 0.22f);
    c.glow(tubes, Palette::violet(), cell * 0.5f, 0.35f);
    c.fill(tubes, Colour::hex(0x3a1a52));
    // The empty track of the bar, with thin rails above and below.
    c.fill(barTrack(), Colour(0.02f, 0.0f, 0.05f, 0.95f));
    for (float y : { SCREEN_H * BAR_TOP, SCREEN_H * BAR_BOTTOM })
    {
        const Shape rail = Shape::box(-8.0f, y - 1.5f, SCREEN_W + 8.0f, y + 1.5f);
        c.glow(rail, Palette::magenta(), 4.0f, 0.5f);
        c.fill(rail, Colour::hex(0xd070f0));
    }
    const float small = SCREEN_H * 0.008f;
    c.fill(NeonText::blocks("LOADING", SCREEN_W * 0.5f - NeonText::width("LOADING", small) * 0.5f,
                            SCREEN_H * (BAR_BOTTOM + 0.03f), small, small * 0.1f),
           Colour::hex(0xb070d0));
    return toFile(c);
}

Canvas LogoGraphics::loadingBar()
{
    Canvas c(static_cast<int>(SCREEN_W), static_cast<int>(SCREEN_H));
    const Gradient along({ { 0.0f, Palette::magenta() }, { 0.5f, Palette::purple() }, { 1.0f, Palette::cyan() } });
    const float y0 = SCREEN_H * BAR_TOP, y1 = SCREEN_H * BAR_BOTTOM;
    const Shape bar = Shape::box(-8.0f, y0 + 3.0f, SCREEN_W + 8.0f, y1 - 3.0f, 3.0f);
    c.glow(bar, Palette::magenta(), 6.0f, 0.5f);
    c.fill(bar, [&](float x, float y) {
        const float core = 1.0f - std::fabs((y - (y0 + y1) * 0.5f) / ((y1 - y0) * 0.5f));
        return Colour::mix(along.at(x / SCREEN_W), Palette::white(), 0.55f * core * core);
    });
    NeonText::neon(c, NAME, titleX(), SCREEN_H * TITLE_Y, titleCell(), Palette::magenta());
    Canvas file = toFile(c);
    file.bleed(3);
    return file;
}

Canvas LogoGraphics::banknote()
{
    // The note at its quad's shape (4.74 : 2), fitted into the mapped region.
    const float w = 1024.0f, h = 432.0f;
    Canvas note(static_cast<int>(w), static_cast<int>(h), Colour::hex(0x1a0a3a));
    // Engraving: fine interfering waves, as on real notes.
    note.shade([&](float x, float y) {
        const float u = x / w, v = y / h;
        const float a = std::sin(u * 90.0f + std::sin(v * 12.0f) * 3.0f);
        const float b = std::sin(v * 70.0f + std::sin(u * 9.0f) * 4.0f);
        const float lines = std::pow(std::fabs(a * b), 8.0f);
        const Colour paper = Colour::mix(Colour::hex(0x2a0c52), Colour::hex(0x120628), v);
        return paper + Palette::cyan() * (0.18f * lines);
    });
    const Shape border = Shape::box(14.0f, 14.0f, w - 14.0f, h - 14.0f, 18.0f)
                             .subtract(Shape::box(22.0f, 22.0f, w - 22.0f, h - 22.0f, 12.0f));
    note.glow(border, Palette::magenta(), 4.0f, 0.5f);
    note.fill(border, Colour::hex(0xff9ae8));
    // The medallion: the sun over the sea inside a ring.
    const float cx = w * 0.5f, cy = h * 0.52f, r = h * 0.3f;
    Canvas medal(static_cast<int>(2.0f * r), static_cast<int>(2.0f * r), Palette::ink());
    Scenery::paintSky(medal, 0.0f, r * 1.2f);
    Scenery::paintSun(medal, r, r * 0.95f, r * 0.55f, r * 1.2f);
    Scenery::paintGrid(medal, r * 1.2f, r, 2.0f * r, r / 6.0f, Palette::magenta());
    medal.multiplyAlpha([&](float x, float y) { return r - std::hypot(x - r, y - r) + 0.5f; });
    note.draw(medal, cx - r, cy - r, 2.0f * r, 2.0f * r);
    const Shape ring = Shape::ring(cx, cy, r + 4.0f, 3.0f);
    note.glow(ring, Palette::cyan(), 4.0f, 0.5f);
    note.fill(ring, Palette::ice());
    // Values in the corners and the issuer's lines.
    const float big = 9.0f;
    for (float x : { 48.0f, w - 48.0f - NeonText::width("100", big) })
        for (float y : { 40.0f, h - 40.0f - 7.0f * big })
            NeonText::neon(note, "100", x, y, big, Palette::gold());
    const float small = 5.0f;
    NeonText::neonCentred(note, "KELVARN RESERVE NOTE", cx, 44.0f, small, Palette::pink());
    NeonText::neonCentred(note, "ONE HUNDRED CREDITS", cx, h - 40.0f - 7.0f * small, small, Palette::pink());

    Canvas canvas(512, 256, Colour::hex(0x120628));
    canvas.draw(note, 0.001f * 512.0f, (1.0f - 0.999f) * 256.0f, 0.998f * 512.0f, (0.999f - 0.156f) * 256.0f);
    return canvas;
}
