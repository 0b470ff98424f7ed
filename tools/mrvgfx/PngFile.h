#pragma once

#include <vector>

class Canvas;

// PNG encoding of a canvas, 8 bits per channel, RGB or RGBA. The encoder
// writes no time or text chunks and always the same settings, so the same
// picture gives the same bytes on every run.
class PngFile
{
public:
    // Empty when libpng fails.
    static std::vector<unsigned char> encode(const Canvas& canvas, int channels);
    // The same from rows already laid out top first, `channels` (3 or 4)
    // bytes per pixel; empty when the rows do not fill width x height.
    static std::vector<unsigned char> encode(const std::vector<unsigned char>& rows, int width, int height,
                                             int channels);
};
