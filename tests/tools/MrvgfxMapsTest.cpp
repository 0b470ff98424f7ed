#include "mrvutils/BitmapFont.h"
#include "tools/mrvgfx/GreetingsMap.h"
#include "tools/mrvgfx/RoadMap.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<int, 3>;

class MrvgfxRoadMap : public ::testing::Test
{
protected:
    const std::vector<unsigned char> map = RoadMap::bytes();

    Rgb tile(int row, int k) const
    {
        const size_t i = (static_cast<size_t>(row) * RoadMap::TILES + static_cast<size_t>(k)) * 3;
        return { map[i], map[i + 1], map[i + 2] };
    }
    static int brightness(const Rgb& c) { return c[0] + c[1] + c[2]; }
};

class MrvgfxGreetingsMap : public ::testing::Test
{
protected:
    const std::vector<unsigned char> map = GreetingsMap::bytes();

    // As the display sees it: a pixel is lit when the byte it reads is 0.
    bool lit(int row, int column, int channel = 0) const
    {
        return map[(static_cast<size_t>(row) * GreetingsMap::ROW_PIXELS + static_cast<size_t>(column)) * 3 +
                   static_cast<size_t>(channel)] == 0;
    }
    std::vector<std::string> window(int first, int count) const
    {
        std::vector<std::string> rows;
        for (int r = 0; r < GreetingsMap::ROWS; ++r)
        {
            std::string row;
            for (int c = first; c < first + count; ++c)
                row += lit(r, c) ? '#' : '.';
            rows.push_back(row);
        }
        return rows;
    }
};

} // namespace

TEST_F(MrvgfxRoadMap, HoldsTwelveRowsOfAHundredRgbTiles)
{
    ASSERT_EQ(3600u, map.size());
    EXPECT_EQ(3600, RoadMap::BYTES);
}

TEST_F(MrvgfxRoadMap, RoadIsMirroredAndVergesDifferFromAsphalt)
{
    for (int r = 0; r < RoadMap::ROWS; ++r)
    {
        for (int k = 0; k < RoadMap::TILES; ++k)
            EXPECT_EQ(tile(r, k), tile(r, RoadMap::TILES - 1 - k)) << "row " << r << " tile " << k;
        EXPECT_NE(tile(r, 0), tile(r, 20)) << "row " << r;
        EXPECT_NE(tile(r, 0), tile(r, RoadMap::CURB_FIRST)) << "row " << r;
    }
}

TEST_F(MrvgfxRoadMap, StripesAlternateAlongTheRoadSoScrollingShows)
{
    const int half = RoadMap::ROWS / 2;
    for (int r = 0; r < half; ++r)
    {
        // Rumble strips and asphalt change shade between the two halves.
        EXPECT_NE(tile(r, 3), tile(r + half, 3));
        EXPECT_NE(tile(r, 20), tile(r + half, 20));
        EXPECT_EQ(tile(0, 3), tile(r, 3));
        EXPECT_EQ(tile(half, 3), tile(r + half, 3));
    }
    // The edge lines are solid: the same in every row, and unlike the
    // asphalt beside them.
    for (int r = 0; r < RoadMap::ROWS; ++r)
    {
        EXPECT_EQ(tile(0, RoadMap::EDGE_FIRST), tile(r, RoadMap::EDGE_LAST));
        EXPECT_GT(brightness(tile(r, RoadMap::EDGE_FIRST)), brightness(tile(r, RoadMap::EDGE_LAST + 1)) + 200);
    }
    // The verge's neon grid line crosses the ground once per period.
    EXPECT_GT(brightness(tile(0, 0)), brightness(tile(half, 0)) + 200);
}

TEST_F(MrvgfxRoadMap, LaneDividersAreDashed)
{
    for (int r = 0; r < RoadMap::ROWS; ++r)
    {
        const bool dash = r >= RoadMap::DASH_FIRST_ROW && r <= RoadMap::DASH_LAST_ROW;
        const Rgb asphalt = tile(r, RoadMap::DIVIDER_FIRST - 1);
        for (int k = RoadMap::DIVIDER_FIRST; k <= RoadMap::DIVIDER_LAST; ++k)
        {
            if (dash)
                EXPECT_GT(brightness(tile(r, k)), brightness(asphalt) + 300) << "row " << r;
            else
                EXPECT_EQ(asphalt, tile(r, k)) << "row " << r;
        }
    }
    // Three lanes of equal width between the edge lines and dividers.
    const int lane1 = RoadMap::DIVIDER_FIRST - (RoadMap::EDGE_LAST + 1);
    const int lane2 = (RoadMap::TILES - 1 - RoadMap::DIVIDER_LAST) - (RoadMap::DIVIDER_LAST + 1);
    EXPECT_EQ(lane1, lane2);
}

TEST_F(MrvgfxGreetingsMap, HoldsEightRowsOf1914RgbPixels)
{
    ASSERT_EQ(45936u, map.size());
    // Any of a pixel's three bytes may be read: they must agree, and unlit
    // bytes must never be 0.
    for (size_t i = 0; i < map.size(); i += 3)
    {
        ASSERT_EQ(map[i], map[i + 1]);
        ASSERT_EQ(map[i], map[i + 2]);
        ASSERT_TRUE(map[i] == GreetingsMap::LIT || map[i] == GreetingsMap::UNLIT);
    }
}

TEST_F(MrvgfxGreetingsMap, TextRunsInFromTheRightAfterAnEmptyWindow)
{
    EXPECT_EQ(std::vector<std::string>(8, std::string(GreetingsMap::WINDOW, '.')), window(0, GreetingsMap::WINDOW));
    // The first letter, K, in the first five columns after the empty window.
    const std::vector<std::string> k = { "#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", "....." };
    EXPECT_EQ(k, window(150, 5));
    EXPECT_EQ(std::vector<std::string>(8, "."), window(155, 1));

    const std::vector<uint8_t> text = BitmapFont::columns(GreetingsMap::text());
    for (size_t c = 0; c < text.size(); ++c)
        for (int r = 0; r < GreetingsMap::ROWS; ++r)
            ASSERT_EQ(((text[c] >> r) & 1u) != 0, lit(r, GreetingsMap::TEXT_START + static_cast<int>(c), 2))
                << "column " << c << " row " << r;
    const int end = GreetingsMap::TEXT_START + static_cast<int>(text.size());
    ASSERT_LE(end, GreetingsMap::LOOP);
    EXPECT_EQ(std::vector<std::string>(8, std::string(GreetingsMap::LOOP - end, '.')),
              window(end, GreetingsMap::LOOP - end));
}

TEST_F(MrvgfxGreetingsMap, ScrollLoopIsSeamless)
{
    // The display jumps from column 1764 back to 0: both windows must match.
    EXPECT_EQ(1764, GreetingsMap::LOOP);
    EXPECT_EQ(window(0, GreetingsMap::WINDOW), window(GreetingsMap::LOOP, GreetingsMap::WINDOW));
}
