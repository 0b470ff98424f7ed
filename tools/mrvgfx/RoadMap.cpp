#include "tools/mrvgfx/RoadMap.h"

#include "tools/mrvgfx/Colour.h"

#include <algorithm>
#include <cmath>

namespace {

Colour tile(int row, int k)
{
    // Tiles mirror about the middle of the road.
    const int x = std::min(k, RoadMap::TILES - 1 - k);
    const bool firstHalf = row < RoadMap::ROWS / 2;
    if (x == 0)
    {
        if (row == 0)
            return Colour::hex(0xd61fb4);
        if (row == 1 || row == RoadMap::ROWS - 1)
            return Colour::hex(0x4a0c52);
        return Colour::hex(0x12041e);
    }
    if (x >= RoadMap::CURB_FIRST && x <= RoadMap::CURB_LAST)
        return firstHalf ? Colour::hex(0xff2f8e) : Colour::hex(0xe6f0ff);
    if (x >= RoadMap::EDGE_FIRST && x <= RoadMap::EDGE_LAST)
        return Colour::hex(0x22d8f0);
    const bool divider = x >= RoadMap::DIVIDER_FIRST && x <= RoadMap::DIVIDER_LAST;
    if (divider && row >= RoadMap::DASH_FIRST_ROW && row <= RoadMap::DASH_LAST_ROW)
        return Colour::hex(0xbff4ff);
    return firstHalf ? Colour::hex(0x1c0d34) : Colour::hex(0x261444);
}

unsigned char byte(float v)
{
    return static_cast<unsigned char>(std::lround(std::min(1.0f, std::max(0.0f, v)) * 255.0f));
}

} // namespace

std::vector<unsigned char> RoadMap::bytes()
{
    std::vector<unsigned char> out;
    out.reserve(BYTES);
    for (int r = 0; r < ROWS; ++r)
        for (int k = 0; k < TILES; ++k)
        {
            const Colour c = tile(r, k);
            out.push_back(byte(c.r));
            out.push_back(byte(c.g));
            out.push_back(byte(c.b));
        }
    return out;
}
