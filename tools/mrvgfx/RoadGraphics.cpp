#include "tools/mrvgfx/RoadGraphics.h"

#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Gradient.h"
#include "tools/mrvgfx/Palette.h"
#include "tools/mrvgfx/Random.h"
#include "tools/mrvgfx/Scenery.h"

#include <algorithm>
#include <cmath>

Canvas RoadGraphics::tree()
{
    // Drawn at the quad's own proportions, then squeezed into the region
    // the effect maps onto it.
    const int w = 182, h = 320;
    Canvas palm(w, h);
    const Shape shape = Scenery::palm(116.0f, 322.0f, 250.0f, -25.0f, 22.0f, 7, 0.62f);
    palm.fill(shape, Colour::hex(0x1a0626));
    // Keep leaf tips off the region's edges: a texel there would bleed into
    // the neighbouring quad through filtering.
    palm.multiplyAlpha([&](float x, float y) {
        const float margin = std::min({ x, static_cast<float>(w) - x, y + 40.0f }) / 6.0f;
        return std::min(1.0f, std::max(0.0f, margin - 0.3f));
    });
    Canvas canvas(256, 256);
    canvas.draw(palm, 0.0f, 0.0f, 256.0f * TREE_REGION, 256.0f);
    canvas.bleed(4);
    return canvas;
}

Canvas RoadGraphics::nightSky()
{
    const int w = 512, h = 256;
    // A little above the highest the band reaches, so that its top never
    // meets the gradient.
    const float join = static_cast<float>(h) * SKY_BAND_TOP_MIN - 4.0f;
    Canvas canvas(w, h, Palette::night());
    const Gradient zenith({ { 0.0f, Palette::night() }, { 1.0f, Palette::ink() } });
    canvas.shade([&](float, float y) { return y >= join ? Palette::night() : zenith.at((join - y) / join); });
    Random random(2084);
    Scenery::paintStars(canvas, random, { 0.0f, 2.0f, static_cast<float>(w), join - 6.0f }, 70, false);
    return canvas;
}

Canvas RoadGraphics::background()
{
    const int w = 512, h = 256;
    const float horizon = static_cast<float>(h) * (1.0f - HORIZON);
    Canvas canvas(w, h, Palette::ink());
    Scenery::paintSky(canvas, 0.0f, horizon);
    Random random(1984);
    Scenery::paintStars(canvas, random, { 0.0f, 4.0f, static_cast<float>(w), horizon * 0.6f }, 90, true);
    Scenery::paintMountains(canvas, 11, horizon, 84.0f, static_cast<float>(w), Colour::hex(0x2a0c4e),
                            Palette::magenta());
    Scenery::paintMountains(canvas, 23, horizon, 40.0f, static_cast<float>(w), Colour::hex(0x12062a), Palette::cyan());
    // The glowing seam where the road meets the sky.
    const Shape line = Shape::box(-4.0f, horizon - 0.6f, static_cast<float>(w) + 4.0f, horizon + 0.6f);
    canvas.glow(line, Palette::pink(), 3.0f, 0.6f);
    canvas.fill(line, Colour::hex(0xffd0e8));
    return canvas;
}
