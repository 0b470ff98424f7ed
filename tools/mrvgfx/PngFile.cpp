#include "tools/mrvgfx/PngFile.h"

#include "tools/mrvgfx/Canvas.h"

#include <png.h>

namespace {

void append(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) {}

// libpng reports errors by longjmp; nothing in here has a destructor to skip.
bool encodeRows(png_structp png, png_infop info, const std::vector<unsigned char>& rows, int width, int height,
                int channels, std::vector<unsigned char>* out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, out, append, noFlush);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    for (int r = 0; r < height; ++r)
        png_write_row(png, const_cast<png_bytep>(&rows[static_cast<size_t>(r) * stride]));
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::vector<unsigned char> PngFile::encode(const Canvas& canvas, int channels)
{
    return encode(canvas.bytes(channels), canvas.width(), canvas.height(), channels);
}

std::vector<unsigned char> PngFile::encode(const std::vector<unsigned char>& rows, int width, int height,
                                          int channels)
{
    std::vector<unsigned char> out;
    if ((channels != 3 && channels != 4) || width <= 0 || height <= 0 ||
        rows.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels))
        return out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && encodeRows(png, info, rows, width, height, channels, &out);
    png_destroy_write_struct(&png, &info);
    if (!ok)
        out.clear();
    return out;
}
