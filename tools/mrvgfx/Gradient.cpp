#include "tools/mrvgfx/Gradient.h"

#include <cstddef>

Gradient::Gradient(std::initializer_list<Stop> list) : stops(list) {}

Colour Gradient::at(float position) const
{
    if (stops.empty())
        return Colour();
    if (position <= stops.front().position)
        return stops.front().colour;
    for (std::size_t k = 1; k < stops.size(); ++k)
    {
        const Stop& hi = stops[k];
        if (position <= hi.position)
        {
            const Stop& lo = stops[k - 1];
            const float span = hi.position - lo.position;
            const float t = span > 0.0f ? (position - lo.position) / span : 1.0f;
            return Colour::mix(lo.colour, hi.colour, t);
        }
    }
    return stops.back().colour;
}
