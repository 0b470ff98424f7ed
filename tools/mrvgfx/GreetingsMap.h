#pragma once

#include <string>
#include <vector>

// The greetings map, misc/greetings.bin: a strip of text 8 pixels high and
// 1914 pixels long, stored row after row (row 0 at the top), 3 bytes per
// pixel (45,936 bytes). The stereo's dot-matrix display shows a window of
// 150 columns of it and lights a dot exactly where the byte it reads is 0;
// since its read position may fall on any of a pixel's three bytes, lit
// pixels are 0 in all three and every other pixel is non-zero in all three.
// In a picture viewer the file therefore shows dark text on white.
//
// The display scrolls over the first 1764 columns and then jumps back to 0,
// so columns 1764 to 1913 repeat columns 0 to 149 and the loop is seamless.
// The text is the pixel font's (BitmapFont), one column per pixel, starting
// at column 150: the display opens empty and the text runs in from the right.
class GreetingsMap
{
public:
    static constexpr int ROWS = 8;
    static constexpr int ROW_PIXELS = 1914;
    static constexpr int BYTES = ROWS * ROW_PIXELS * 3;
    static constexpr int WINDOW = 150;
    static constexpr int LOOP = ROW_PIXELS - WINDOW;
    static constexpr int TEXT_START = WINDOW;
    static constexpr unsigned char LIT = 0;
    static constexpr unsigned char UNLIT = 0xff;

    static std::string text();
    static std::vector<unsigned char> bytes();
};
