#include "tools/mrvgfx/NeonText.h"

#include "mrvutils/BitmapFont.h"
#include "tools/mrvgfx/Canvas.h"

#include <vector>

float NeonText::width(const std::string& text, float cell)
{
    return static_cast<float>(BitmapFont::width(text)) * cell;
}

Shape NeonText::tubes(const std::string& text, float x, float y, float cell, float radius)
{
    const std::vector<uint8_t> cols = BitmapFont::columns(text);
    const int n = static_cast<int>(cols.size());
    auto lit = [&](int c, int r) {
        return c >= 0 && c < n && r >= 0 && r < BitmapFont::HEIGHT && ((cols[static_cast<size_t>(c)] >> r) & 1u);
    };
    auto centre = [&](int c, int r) {
        return Shape::Point { x + (static_cast<float>(c) + 0.5f) * cell, y + (static_cast<float>(r) + 0.5f) * cell };
    };
    std::vector<Shape> parts;
    for (int c = 0; c < n; ++c)
        for (int r = 0; r < BitmapFont::HEIGHT; ++r)
        {
            if (!lit(c, r))
                continue;
            bool joined = false;
            auto join = [&](int c2, int r2) {
                parts.push_back(Shape::capsule(centre(c, r), centre(c2, r2), radius));
                joined = true;
            };
            if (lit(c + 1, r))
                join(c + 1, r);
            if (lit(c, r + 1))
                join(c, r + 1);
            // Diagonals only where no corner path exists, so strokes stay
            // single tubes instead of filled triangles.
            if (lit(c + 1, r + 1) && !lit(c + 1, r) && !lit(c, r + 1))
                join(c + 1, r + 1);
            if (lit(c - 1, r + 1) && !lit(c - 1, r) && !lit(c, r + 1))
                join(c - 1, r + 1);
            const bool linkedFromAbove = lit(c, r - 1) || (lit(c - 1, r - 1) && !lit(c - 1, r) && !lit(c, r - 1)) ||
                                         (lit(c + 1, r - 1) && !lit(c + 1, r) && !lit(c, r - 1));
            if (!joined && !lit(c - 1, r) && !linkedFromAbove)
                parts.push_back(Shape::circle(centre(c, r).x, centre(c, r).y, radius));
        }
    return Shape::unite(std::move(parts));
}

Shape NeonText::blocks(const std::string& text, float x, float y, float cell, float inset)
{
    const std::vector<uint8_t> cols = BitmapFont::columns(text);
    std::vector<Shape> parts;
    for (size_t c = 0; c < cols.size(); ++c)
        for (int r = 0; r < BitmapFont::HEIGHT; ++r)
            if ((cols[c] >> r) & 1u)
            {
                const float x0 = x + static_cast<float>(c) * cell + inset;
                const float y0 = y + static_cast<float>(r) * cell + inset;
                parts.push_back(Shape::box(x0, y0, x0 + cell - 2.0f * inset, y0 + cell - 2.0f * inset, cell * 0.2f));
            }
    return Shape::unite(std::move(parts));
}

void NeonText::neon(Canvas& canvas, const std::string& text, float x, float y, float cell, const Colour& colour)
{
    const float radius = cell * 0.22f;
    const Shape tube = tubes(text, x, y, cell, radius);
    canvas.glow(tube, colour, cell * 0.9f, 0.55f);
    canvas.fill(tube, Colour::mix(colour, Colour(1.0f, 1.0f, 1.0f), 0.35f));
    canvas.fill(tubes(text, x, y, cell, radius * 0.45f), Colour(1.0f, 0.97f, 1.0f));
}

void NeonText::neonCentred(Canvas& canvas, const std::string& text, float cx, float y, float cell, const Colour& colour)
{
    neon(canvas, text, cx - width(text, cell) * 0.5f, y, cell, colour);
}
