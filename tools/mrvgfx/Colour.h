#pragma once

// A colour with straight (not premultiplied) alpha, channels nominally 0..1.
// Light is summed in floats and only clamped when a picture is stored, so
// overlapping glows saturate towards white the way neon does.
struct Colour
{
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    constexpr Colour() = default;
    constexpr Colour(float red, float green, float blue, float alpha = 1.0f) : r(red), g(green), b(blue), a(alpha) {}

    // 0xRRGGBB, as colours are picked.
    static Colour hex(unsigned rgb, float alpha = 1.0f);

    Colour withAlpha(float alpha) const { return Colour(r, g, b, alpha); }
    // Scales the colour channels only.
    Colour operator*(float k) const { return Colour(r * k, g * k, b * k, a); }
    Colour operator+(const Colour& o) const { return Colour(r + o.r, g + o.g, b + o.b, a); }

    // Linear blend of all four channels; t = 0 gives a, t = 1 gives b.
    static Colour mix(const Colour& a, const Colour& b, float t);
};
