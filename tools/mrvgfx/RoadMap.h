#pragma once

#include <vector>

// The road's colour map, misc/roadmap.bin: 12 rows of 100 tiles, one RGB
// byte triple per tile, rows one after another (3600 bytes). The road effect
// reads every byte as byte/256 and colours tile k of row r with triple
// (r, k); tile 0's colour also fills the whole left verge and tile 99's the
// right verge. The 12 rows repeat along the road, so half the rows carry
// one shade and half another: scrolled, the bands read as speed.
//
// Across a row, mirrored about the middle:
//   0          verge: dark ground; row 0 a glowing grid line, rows 1 and 11
//              its fading edges
//   1 - 5      rumble strip, hot pink in rows 0-5, white in rows 6-11
//   6          asphalt
//   7 - 8      edge line, solid cyan
//   9 - 34     asphalt (darker in rows 0-5, lighter in rows 6-11)
//   35 - 36    lane divider, lit in rows 3-8 only (dashes)
//   37 - 62    asphalt; 63 - 64 the second divider; 65 - 90 asphalt
class RoadMap
{
public:
    static constexpr int ROWS = 12;
    static constexpr int TILES = 100;
    static constexpr int BYTES = ROWS * TILES * 3;

    static constexpr int CURB_FIRST = 1;
    static constexpr int CURB_LAST = 5;
    static constexpr int EDGE_FIRST = 7;
    static constexpr int EDGE_LAST = 8;
    static constexpr int DIVIDER_FIRST = 35;
    static constexpr int DIVIDER_LAST = 36;
    static constexpr int DASH_FIRST_ROW = 3;
    static constexpr int DASH_LAST_ROW = 8;

    static std::vector<unsigned char> bytes();
};
