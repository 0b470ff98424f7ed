#include "tools/mrvgfx/Colour.h"

Colour Colour::hex(unsigned rgb, float alpha)
{
    return Colour(static_cast<float>((rgb >> 16) & 0xff) / 255.0f, static_cast<float>((rgb >> 8) & 0xff) / 255.0f,
                  static_cast<float>(rgb & 0xff) / 255.0f, alpha);
}

Colour Colour::mix(const Colour& a, const Colour& b, float t)
{
    return Colour(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t);
}
