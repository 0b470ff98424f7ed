#pragma once

#include "tools/mrvgfx/Colour.h"

#include <initializer_list>
#include <vector>

// A colour ramp through stops at increasing positions; positions outside the
// first and last stop take the end colours.
class Gradient
{
public:
    struct Stop
    {
        float position;
        Colour colour;
    };

    Gradient(std::initializer_list<Stop> stops);

    Colour at(float position) const;

private:
    std::vector<Stop> stops;
};
