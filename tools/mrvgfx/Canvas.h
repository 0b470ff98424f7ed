#pragma once

#include "tools/mrvgfx/Colour.h"
#include "tools/mrvgfx/Shape.h"

#include <functional>
#include <vector>

// A picture being painted: float RGBA pixels, premultiplied by alpha so that
// compositing and additive light are plain sums; (0, 0) is the top-left
// pixel and pixel centres lie at half-integer coordinates. Stored pictures
// clamp to 0..1 and turn back into straight alpha.
class Canvas
{
public:
    using Paint = std::function<Colour(float x, float y)>;

    Canvas(int width, int height, const Colour& fill = Colour(0.0f, 0.0f, 0.0f, 0.0f));

    int width() const { return w; }
    int height() const { return h; }

    // Straight colour of a pixel (black where it is fully transparent).
    Colour pixel(int x, int y) const;
    void setPixel(int x, int y, const Colour& colour);
    // Paints colour over the pixel with the given coverage (0..1).
    void over(int x, int y, const Colour& colour, float coverage);
    // Adds light: colour times amount to the colour, amount times the
    // colour's alpha to the opacity.
    void add(int x, int y, const Colour& colour, float amount);

    // Every pixel set from a function of its centre.
    void shade(const Paint& paint);
    // A function of the pixel centre painted over every pixel.
    void shadeOver(const Paint& paint);

    void fill(const Shape& shape, const Colour& colour);
    void fill(const Shape& shape, const Paint& paint);
    // Light that falls off as exp(-distance / radius) outside the shape and is
    // full inside it.
    void glow(const Shape& shape, const Colour& colour, float radius, float strength = 1.0f);

    // Scales every pixel's opacity (and so its premultiplied colour).
    void multiplyAlpha(const std::function<float(float x, float y)>& factor);

    // Paints source over the rectangle (x, y, width, height), resampled with
    // a box filter of the destination's footprint (sharp when shrinking,
    // bilinear when enlarging).
    void draw(const Canvas& source, float x, float y, float width, float height);

    // Gives fully transparent pixels the colour of their nearest visible
    // neighbours: filtered texture lookups at the edge of a sprite then mix
    // in the sprite's own colour, not a dark fringe.
    void bleed(int passes);

    // Rows top first, `channels` 3 (RGB) or 4 (RGBA) bytes per pixel.
    std::vector<unsigned char> bytes(int channels) const;

private:
    struct Pixel
    {
        float r, g, b, a;
    };
    Pixel& at(int x, int y) { return pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
    const Pixel& at(int x, int y) const
    {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)];
    }
    Pixel sample(float x, float y) const;
    template <typename F> void forBounds(const Shape::Bounds& b, float margin, F f);

    int w;
    int h;
    std::vector<Pixel> pixels;
    // Straight colours that bleed() gave transparent pixels; empty before.
    std::vector<Colour> hidden;
};
