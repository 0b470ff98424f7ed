#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Builds PNG files in memory with libpng's encoder, so the image tests make
// their own pictures of every colour type and depth instead of shipping them.
namespace pngtest
{

enum class ColorType
{
    Grey,
    GreyAlpha,
    RGB,
    RGBA,
    Palette,
};

int channelsOf(ColorType type);

struct Picture
{
    int width = 0;
    int height = 0;
    ColorType type = ColorType::RGB;
    int bitDepth = 8;
    bool interlaced = false;
    // zlib level 0-9, -1 for libpng's default; unfiltered rows use filter
    // type None throughout (with level 9 they deflate near the format's limit).
    int compressionLevel = -1;
    bool unfiltered = false;
    // width * height * channelsOf(type) sample values, top row first, each
    // below 2^bitDepth; for a palette picture, one index per pixel.
    std::vector<unsigned> samples;
    // Palette pictures: RGB triplets, and optional tRNS alpha per entry.
    std::vector<unsigned char> palette;
    std::vector<unsigned char> paletteAlpha;
};

// The encoded file; empty when libpng refuses the picture (a depth the colour
// type does not allow, a sample count that does not match the size).
std::vector<unsigned char> encodePng(const Picture& picture);

// An 8-bit picture from samples already laid out as the colour type asks.
Picture makePicture(int width, int height, ColorType type, std::vector<unsigned> samples, int bitDepth = 8);

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes);

// Chunk surgery for the corruption tests. findChunk gives the offset of the
// first chunk of that type (its length field), or npos when there is none.
constexpr size_t npos = static_cast<size_t>(-1);
size_t findChunk(const std::vector<unsigned char>& png, const char type[4]);
// Recomputes the CRC of the chunk at the offset after its bytes were edited.
void updateChunkCrc(std::vector<unsigned char>& png, size_t chunkOffset);

} // namespace pngtest
