#include "mrvutils/Image.h"

#include "mrvutils/ReadLog.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{

// Beyond the largest texture side any GL takes (32768), so that a picture
// too large for the driver at hand reaches the GL and is refused there with
// its reason; a header asking for more is corrupt or hostile. The pixel and
// inflate limits below keep a small file from reserving gigabytes.
constexpr png_uint_32 kMaxDimension = 65536;
constexpr size_t kMaxPixelBytes = size_t(1) << 30;

// Deflate cannot expand its input by more than 1032 to 1 (a 258-byte match
// per two bits). The raw rows of a picture therefore cannot outgrow the file
// by more than that, so a header whose size the remaining bytes could never
// fill is rejected before the pixel block is allocated.
constexpr size_t kMaxInflateRatio = 1032;

// The ancillary chunks libpng knows, less tRNS: each name and a zero byte.
constexpr png_byte kUnusedChunks[] = "bKGD\0cHRM\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0"
                                     "sBIT\0sCAL\0sPLT\0sRGB\0tEXt\0tIME\0zTXt";

// Everything a decode allocates, kept outside the frame that calls setjmp so
// that it is still known, and freed, after libpng longjmps out of an error.
struct PngDecode
{
    png_structp png = nullptr;
    png_infop info = nullptr;
    unsigned char* pixels = nullptr;
    png_bytep* rows = nullptr;
    int width = 0;
    int height = 0;
    int bpp = 0;
};

void readFromBuffer(png_structp png, png_bytep out, size_t count)
{
    Image::file_buffer_t* source = static_cast<Image::file_buffer_t*>(png_get_io_ptr(png));
    if (source->position < 0 || source->position > source->length
        || count > static_cast<size_t>(source->length - source->position))
    {
        png_error(png, "PNG data ends early");
    }
    std::memcpy(out, source->data + source->position, count);
    source->position += static_cast<int>(count);
}

// The frame that calls setjmp holds only trivially destructible locals: a
// longjmp over a C++ destructor is undefined behaviour. Anything that must
// survive the jump lives in *d, which the caller frees on both paths.
bool decodeRows(Image::file_buffer_t* source, PngDecode* d)
{
    if (setjmp(png_jmpbuf(d->png)))
        return false;

    png_set_user_limits(d->png, kMaxDimension, kMaxDimension);
    // Only the pixels, the palette and tRNS are used. libpng reads a text,
    // profile or similar chunk into a zeroed buffer as long as the chunk
    // claims to be before it knows the file holds that much, so a 46-byte
    // file claiming a 2 GB tEXt chunk touched 2 GB. Handled as unknown and
    // never kept, such chunks are skipped in small pieces instead.
    png_set_keep_unknown_chunks(d->png, PNG_HANDLE_CHUNK_NEVER, kUnusedChunks,
                                static_cast<int>(sizeof(kUnusedChunks) / 5));
    png_set_read_fn(d->png, source, readFromBuffer);
    png_set_sig_bytes(d->png, 8);
    png_read_info(d->png, d->info);

    const png_uint_32 width = png_get_image_width(d->png, d->info);
    const png_uint_32 height = png_get_image_height(d->png, d->info);
    const int bitDepth = png_get_bit_depth(d->png, d->info);
    const int colorType = png_get_color_type(d->png, d->info);
    const size_t rawBits = static_cast<size_t>(width) * height * bitDepth
        * png_get_channels(d->png, d->info);

    const size_t bytesLeft = static_cast<size_t>(source->length - source->position);
    if (rawBits / 8 > bytesLeft * kMaxInflateRatio)
        return false;

    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(d->png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(d->png);
    if (bitDepth == 16)
        png_set_strip_16(d->png);
    png_set_interlace_handling(d->png);
    png_read_update_info(d->png, d->info);

    const int bpp = png_get_channels(d->png, d->info) * png_get_bit_depth(d->png, d->info);
    const size_t rowBytes = png_get_rowbytes(d->png, d->info);
    if (bpp % 8 != 0 || width == 0 || height == 0
        || rowBytes != static_cast<size_t>(width) * (bpp / 8)
        || rowBytes > kMaxPixelBytes / height)
    {
        return false;
    }

    d->pixels = static_cast<unsigned char*>(std::malloc(rowBytes * height));
    d->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
    if (!d->pixels || !d->rows)
        return false;
    // The GL takes the bottom row first.
    for (png_uint_32 r = 0; r < height; ++r)
        d->rows[r] = d->pixels + rowBytes * (height - 1 - r);

    png_read_image(d->png, d->rows);
    png_read_end(d->png, nullptr);

    d->width = static_cast<int>(width);
    d->height = static_cast<int>(height);
    d->bpp = bpp;
    return true;
}

} // namespace

Image::Image(const std::string& path)
{
    fileName = path;
    loaded = Load(path);
}

Image::Image(const char* path)
    : Image(std::string(path ? path : ""))
{
}

Image::Image(const std::string& name, int)
{
    fileName = name;
}

Image::~Image()
{
    freePixels();
}

void Image::freePixels()
{
    std::free(data);
    data = nullptr;
    delete[] floatData;
    floatData = nullptr;
    width = 0;
    height = 0;
    bpp = 0;
    pixelSize = 0;
    loaded = false;
}

bool Image::Load(const std::string& path)
{
    fileName = path;
    freePixels();

    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;

    std::vector<unsigned char> bytes;
    bool readOk = std::fseek(file, 0, SEEK_END) == 0;
    const long size = readOk ? std::ftell(file) : -1;
    // A directory may open but has no length; the buffer's position is an
    // int, so larger files cannot be addressed.
    readOk = size >= 0 && size <= std::numeric_limits<int>::max() && std::fseek(file, 0, SEEK_SET) == 0;
    if (readOk)
    {
        bytes.resize(static_cast<size_t>(size));
        readOk = size == 0 || std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    if (!readOk)
        return false;
    ReadLog::record(path);

    file_buffer_t buffer{};
    std::snprintf(buffer.name, sizeof(buffer.name), "%s", path.c_str());
    buffer.data = bytes.data();
    buffer.length = static_cast<int>(bytes.size());
    buffer.position = 0;
    loaded = LoadPNG(&buffer);
    return loaded;
}

bool Image::putData(const unsigned char* bytes, int length)
{
    freePixels();
    if (!bytes || length <= 0)
        return false;

    // The caller's bytes may go away once this returns; decode from our copy.
    const std::vector<unsigned char> copy(bytes, bytes + length);
    file_buffer_t buffer{};
    std::snprintf(buffer.name, sizeof(buffer.name), "%s", fileName.c_str());
    buffer.data = copy.data();
    buffer.length = length;
    buffer.position = 0;
    loaded = LoadPNG(&buffer);
    return loaded;
}

bool Image::LoadPNG(file_buffer_t* buffer)
{
    freePixels();
    if (!buffer || !buffer->data || buffer->length < 8)
        return false;
    if (png_sig_cmp(buffer->data, 0, 8) != 0)
        return false;
    buffer->position = 8;

    PngDecode d;
    d.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!d.png)
        return false;
    d.info = png_create_info_struct(d.png);
    const bool ok = d.info && decodeRows(buffer, &d);

    png_destroy_read_struct(&d.png, d.info ? &d.info : nullptr, nullptr);
    std::free(d.rows);
    if (!ok)
    {
        std::free(d.pixels);
        return false;
    }

    data = d.pixels;
    width = d.width;
    height = d.height;
    bpp = d.bpp;
    pixelSize = bpp / 8;
    loaded = true;
    return true;
}

float* Image::getFloatData()
{
    if (floatData || !data)
        return floatData;
    const size_t count = static_cast<size_t>(width) * height * pixelSize;
    floatData = new float[count];
    for (size_t i = 0; i < count; ++i)
        floatData[i] = data[i] * 0.00390625f;
    return floatData;
}
