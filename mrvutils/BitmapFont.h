#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The production's own pixel font, shared by the picture tool and the
// engine's on-screen text: capitals, digits and a little
// punctuation in cells 8 pixels high. Capitals stand on rows 0 to 6 (row 0
// at the top); row 7 only carries descenders. Glyphs are 1 to 5 columns wide
// and a text puts one blank column between them. Small letters print as
// capitals; characters the font lacks print as '?'.
class BitmapFont
{
public:
    static constexpr int HEIGHT = 8;

    // One byte per column, bit r set where row r is lit.
    static std::vector<uint8_t> glyph(char c);
    static bool has(char c);
    static std::vector<uint8_t> columns(const std::string& text);
    static int width(const std::string& text);
};
