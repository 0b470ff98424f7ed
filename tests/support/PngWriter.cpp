#include "tests/support/PngWriter.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <utility>

namespace pngtest
{

namespace
{

int pngColorType(ColorType type)
{
    switch (type)
    {
    case ColorType::Grey: return PNG_COLOR_TYPE_GRAY;
    case ColorType::GreyAlpha: return PNG_COLOR_TYPE_GRAY_ALPHA;
    case ColorType::RGB: return PNG_COLOR_TYPE_RGB;
    case ColorType::RGBA: return PNG_COLOR_TYPE_RGB_ALPHA;
    case ColorType::Palette: return PNG_COLOR_TYPE_PALETTE;
    }
    return PNG_COLOR_TYPE_RGB;
}

void appendToVector(png_structp png, png_bytep bytes, size_t count)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), bytes, bytes + count);
}

void flushNothing(png_structp) {}

// Keeps its locals trivial: libpng longjmps back here on a refused picture.
bool runEncoder(const Picture* picture, png_bytep* rows, std::vector<unsigned char>* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return false;
    }

    png_set_write_fn(png, out, appendToVector, flushNothing);
    if (picture->compressionLevel >= 0)
        png_set_compression_level(png, picture->compressionLevel);
    if (picture->unfiltered)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture->width), static_cast<png_uint_32>(picture->height),
                 picture->bitDepth, pngColorType(picture->type),
                 picture->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (picture->type == ColorType::Palette)
    {
        const int entries = static_cast<int>(picture->palette.size() / 3);
        png_color colors[256];
        for (int i = 0; i < entries && i < 256; ++i)
        {
            colors[i].red = picture->palette[3 * i];
            colors[i].green = picture->palette[3 * i + 1];
            colors[i].blue = picture->palette[3 * i + 2];
        }
        png_set_PLTE(png, info, colors, entries);
        if (!picture->paletteAlpha.empty())
            png_set_tRNS(png, info, picture->paletteAlpha.data(), static_cast<int>(picture->paletteAlpha.size()),
                         nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

uint32_t crc32Of(const unsigned char* bytes, size_t count)
{
    uint32_t crc = 0xffffffffu;
    for (size_t i = 0; i < count; ++i)
    {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xffffffffu;
}

uint32_t readBigEndian(const std::vector<unsigned char>& bytes, size_t at)
{
    return (uint32_t(bytes[at]) << 24) | (uint32_t(bytes[at + 1]) << 16) | (uint32_t(bytes[at + 2]) << 8)
        | uint32_t(bytes[at + 3]);
}

} // namespace

int channelsOf(ColorType type)
{
    switch (type)
    {
    case ColorType::Grey: return 1;
    case ColorType::GreyAlpha: return 2;
    case ColorType::RGB: return 3;
    case ColorType::RGBA: return 4;
    case ColorType::Palette: return 1;
    }
    return 0;
}

Picture makePicture(int width, int height, ColorType type, std::vector<unsigned> samples, int bitDepth)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.type = type;
    picture.bitDepth = bitDepth;
    picture.samples = std::move(samples);
    return picture;
}

std::vector<unsigned char> encodePng(const Picture& picture)
{
    const int depth = picture.bitDepth;
    if (picture.width <= 0 || picture.height <= 0
        || (depth != 1 && depth != 2 && depth != 4 && depth != 8 && depth != 16))
        return {};
    const size_t perRow = size_t(picture.width) * channelsOf(picture.type);
    if (picture.samples.size() != perRow * picture.height)
        return {};

    // Samples are packed most significant bits first, 16-bit ones big-endian,
    // the layout libpng expects of rows handed to png_write_image.
    const size_t rowBytes = depth == 16 ? perRow * 2 : (perRow * depth + 7) / 8;
    std::vector<unsigned char> packed(rowBytes * picture.height, 0);
    for (int y = 0; y < picture.height; ++y)
    {
        unsigned char* row = packed.data() + rowBytes * y;
        for (size_t i = 0; i < perRow; ++i)
        {
            const unsigned value = picture.samples[y * perRow + i];
            if (depth == 16)
            {
                row[2 * i] = static_cast<unsigned char>(value >> 8);
                row[2 * i + 1] = static_cast<unsigned char>(value);
            }
            else
            {
                const size_t bit = i * depth;
                const unsigned mask = (1u << depth) - 1;
                row[bit / 8] |= static_cast<unsigned char>((value & mask) << (8 - depth - bit % 8));
            }
        }
    }
    std::vector<png_bytep> rows(picture.height);
    for (int y = 0; y < picture.height; ++y)
        rows[y] = packed.data() + rowBytes * y;

    std::vector<unsigned char> out;
    if (!runEncoder(&picture, rows.data(), &out))
        return {};
    return out;
}

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && ok;
}

size_t findChunk(const std::vector<unsigned char>& png, const char type[4])
{
    size_t at = 8;
    while (at + 12 <= png.size())
    {
        if (std::memcmp(png.data() + at + 4, type, 4) == 0)
            return at;
        const uint32_t length = readBigEndian(png, at);
        if (length > png.size() - at - 12)
            return npos;
        at += 12 + length;
    }
    return npos;
}

void updateChunkCrc(std::vector<unsigned char>& png, size_t chunkOffset)
{
    const uint32_t length = readBigEndian(png, chunkOffset);
    const size_t crcAt = chunkOffset + 8 + length;
    const uint32_t crc = crc32Of(png.data() + chunkOffset + 4, length + 4);
    png[crcAt] = static_cast<unsigned char>(crc >> 24);
    png[crcAt + 1] = static_cast<unsigned char>(crc >> 16);
    png[crcAt + 2] = static_cast<unsigned char>(crc >> 8);
    png[crcAt + 3] = static_cast<unsigned char>(crc);
}

} // namespace pngtest
