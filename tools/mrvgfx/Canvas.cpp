#include "tools/mrvgfx/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

float clamp01(float v)
{
    return std::min(std::max(v, 0.0f), 1.0f);
}

unsigned char toByte(float v)
{
    return static_cast<unsigned char>(std::lround(clamp01(v) * 255.0f));
}

} // namespace

Canvas::Canvas(int width, int height, const Colour& fill) : w(width), h(height)
{
    const float a = fill.a;
    pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), Pixel { fill.r * a, fill.g * a, fill.b * a, a });
}

Colour Canvas::pixel(int x, int y) const
{
    const Pixel& p = at(x, y);
    if (p.a <= 0.0f)
        return Colour(0.0f, 0.0f, 0.0f, 0.0f);
    return Colour(p.r / p.a, p.g / p.a, p.b / p.a, p.a);
}

void Canvas::setPixel(int x, int y, const Colour& c)
{
    at(x, y) = Pixel { c.r * c.a, c.g * c.a, c.b * c.a, c.a };
}

void Canvas::over(int x, int y, const Colour& c, float coverage)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    const float a = c.a * clamp01(coverage);
    if (a <= 0.0f)
        return;
    Pixel& p = at(x, y);
    const float keep = 1.0f - a;
    p.r = c.r * a + p.r * keep;
    p.g = c.g * a + p.g * keep;
    p.b = c.b * a + p.b * keep;
    p.a = a + p.a * keep;
}

void Canvas::add(int x, int y, const Colour& c, float amount)
{
    if (x < 0 || y < 0 || x >= w || y >= h || amount <= 0.0f)
        return;
    Pixel& p = at(x, y);
    const float a = c.a * amount;
    p.r += c.r * a;
    p.g += c.g * a;
    p.b += c.b * a;
    p.a = std::min(1.0f, p.a + a);
}

void Canvas::shade(const Paint& paint)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            setPixel(x, y, paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
}

void Canvas::shadeOver(const Paint& paint)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            over(x, y, paint(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f), 1.0f);
}

template <typename F> void Canvas::forBounds(const Shape::Bounds& b, float margin, F f)
{
    // Clamped as floats first: an empty shape's bounds are infinite-ish and
    // must not overflow an int.
    auto clampTo = [](float v, int hi) {
        return static_cast<int>(std::min(std::max(v, -1.0f), static_cast<float>(hi)));
    };
    const int x0 = std::max(0, clampTo(std::floor(b.x0 - margin), w));
    const int y0 = std::max(0, clampTo(std::floor(b.y0 - margin), h));
    const int x1 = std::min(w - 1, clampTo(std::ceil(b.x1 + margin), w));
    const int y1 = std::min(h - 1, clampTo(std::ceil(b.y1 + margin), h));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            f(x, y, static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
}

void Canvas::fill(const Shape& shape, const Colour& colour)
{
    forBounds(shape.bounds(), 1.0f, [&](int x, int y, float px, float py) {
        const float coverage = 0.5f - shape.distance(px, py);
        if (coverage > 0.0f)
            over(x, y, colour, coverage);
    });
}

void Canvas::fill(const Shape& shape, const Paint& paint)
{
    forBounds(shape.bounds(), 1.0f, [&](int x, int y, float px, float py) {
        const float coverage = 0.5f - shape.distance(px, py);
        if (coverage > 0.0f)
            over(x, y, paint(px, py), coverage);
    });
}

void Canvas::glow(const Shape& shape, const Colour& colour, float radius, float strength)
{
    // Beyond seven radii the light is below a thousandth: invisible in bytes.
    forBounds(shape.bounds(), radius * 7.0f, [&](int x, int y, float px, float py) {
        const float d = shape.distance(px, py);
        add(x, y, colour, strength * std::exp(-std::max(d, 0.0f) / radius));
    });
}

void Canvas::multiplyAlpha(const std::function<float(float x, float y)>& factor)
{
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const float k = clamp01(factor(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f));
            Pixel& p = at(x, y);
            p.r *= k;
            p.g *= k;
            p.b *= k;
            p.a *= k;
        }
}

Canvas::Pixel Canvas::sample(float x, float y) const
{
    // Bilinear between pixel centres, clamped at the border.
    const float fx = std::min(std::max(x - 0.5f, 0.0f), static_cast<float>(w - 1));
    const float fy = std::min(std::max(y - 0.5f, 0.0f), static_cast<float>(h - 1));
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const int x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
    const float tx = fx - static_cast<float>(x0), ty = fy - static_cast<float>(y0);
    auto lerp = [](const Pixel& a, const Pixel& b, float t) {
        return Pixel { a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t };
    };
    return lerp(lerp(at(x0, y0), at(x1, y0), tx), lerp(at(x0, y1), at(x1, y1), tx), ty);
}

void Canvas::draw(const Canvas& source, float x, float y, float width, float height)
{
    const float sx = static_cast<float>(source.w) / width;
    const float sy = static_cast<float>(source.h) / height;
    // Enough taps per destination pixel to see every source pixel it covers;
    // one bilinear tap where the source is not smaller, so a copy at the same
    // size stays exact.
    const int tapsX = sx <= 1.0f ? 1 : static_cast<int>(std::ceil(sx)) * 2;
    const int tapsY = sy <= 1.0f ? 1 : static_cast<int>(std::ceil(sy)) * 2;
    const float weight = 1.0f / static_cast<float>(tapsX * tapsY);
    forBounds({ x, y, x + width, y + height }, 0.0f, [&](int px, int py, float cx, float cy) {
        Pixel sum { 0.0f, 0.0f, 0.0f, 0.0f };
        for (int j = 0; j < tapsY; ++j)
            for (int i = 0; i < tapsX; ++i)
            {
                const float dx = cx - 0.5f + (static_cast<float>(i) + 0.5f) / static_cast<float>(tapsX);
                const float dy = cy - 0.5f + (static_cast<float>(j) + 0.5f) / static_cast<float>(tapsY);
                if (dx < x || dy < y || dx > x + width || dy > y + height)
                    continue;
                const Pixel s = source.sample((dx - x) * sx, (dy - y) * sy);
                sum.r += s.r * weight;
                sum.g += s.g * weight;
                sum.b += s.b * weight;
                sum.a += s.a * weight;
            }
        Pixel& p = at(px, py);
        const float keep = 1.0f - std::min(sum.a, 1.0f);
        p.r = sum.r + p.r * keep;
        p.g = sum.g + p.g * keep;
        p.b = sum.b + p.b * keep;
        p.a = std::min(1.0f, sum.a + p.a * keep);
    });
}

void Canvas::bleed(int passes)
{
    // Straight colours travel outwards one ring of pixels per pass; the
    // opacity stays untouched.
    std::vector<Colour> colour(pixels.size());
    std::vector<char> known(pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        known[i] = pixels[i].a > 0.0f;
        if (known[i])
            colour[i] = Colour(pixels[i].r / pixels[i].a, pixels[i].g / pixels[i].a, pixels[i].b / pixels[i].a);
    }
    for (int pass = 0; pass < passes; ++pass)
    {
        std::vector<Colour> next = colour;
        std::vector<char> nextKnown = known;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
                if (known[i])
                    continue;
                Colour sum(0.0f, 0.0f, 0.0f);
                int n = 0;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                    {
                        const int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                            continue;
                        const size_t j = static_cast<size_t>(ny) * static_cast<size_t>(w) + static_cast<size_t>(nx);
                        if (known[j])
                        {
                            sum = sum + colour[j];
                            ++n;
                        }
                    }
                if (n > 0)
                {
                    next[i] = sum * (1.0f / static_cast<float>(n));
                    nextKnown[i] = 1;
                }
            }
        colour.swap(next);
        known.swap(nextKnown);
    }
    hidden.swap(colour);
}

std::vector<unsigned char> Canvas::bytes(int channels) const
{
    std::vector<unsigned char> out;
    out.reserve(pixels.size() * static_cast<size_t>(channels));
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        const Pixel& p = pixels[i];
        Colour c(0.0f, 0.0f, 0.0f, 0.0f);
        if (p.a > 0.0f)
            c = Colour(p.r / p.a, p.g / p.a, p.b / p.a, p.a);
        else if (!hidden.empty())
            c = hidden[i].withAlpha(0.0f);
        if (channels == 3)
        {
            // Opaque pictures: whatever light is there, seen on black.
            c = Colour(p.r, p.g, p.b, 1.0f);
        }
        out.push_back(toByte(c.r));
        out.push_back(toByte(c.g));
        out.push_back(toByte(c.b));
        if (channels == 4)
            out.push_back(toByte(c.a));
    }
    return out;
}
