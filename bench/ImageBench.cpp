#include "mrvutils/Image.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <vector>

namespace
{

void appendBytes(png_structp png, png_bytep bytes, size_t count)
{
    auto* out = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    out->insert(out->end(), bytes, bytes + count);
}

void flushNothing(png_structp) {}

// Only trivial locals here: libpng longjmps back on an encoder error.
bool encode(int side, int channels, png_bytep* rows, std::vector<unsigned char>* out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
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
    png_set_write_fn(png, out, appendBytes, flushNothing);
    png_set_IHDR(png, info, side, side, 8, channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

// A picture with gradients and noise, so the inflater and the row filters do
// work comparable to a real texture rather than a trivially flat one.
std::vector<unsigned char> makeTexturePng(int side, int channels)
{
    std::vector<unsigned char> pixels(size_t(side) * side * channels);
    uint32_t noise = 12345;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
        {
            noise = noise * 1664525u + 1013904223u;
            unsigned char* p = &pixels[(size_t(y) * side + x) * channels];
            p[0] = static_cast<unsigned char>(x);
            p[1] = static_cast<unsigned char>(y + (noise >> 29));
            p[2] = static_cast<unsigned char>((x ^ y) + (noise >> 28));
            if (channels == 4)
                p[3] = static_cast<unsigned char>(255 - (x + y) / 4);
        }
    std::vector<png_bytep> rows(side);
    for (int y = 0; y < side; ++y)
        rows[y] = &pixels[size_t(y) * side * channels];
    std::vector<unsigned char> png;
    if (!encode(side, channels, rows.data(), &png))
        png.clear();
    return png;
}

void BM_ImageDecodePng(benchmark::State& state)
{
    const int side = 512;
    const int channels = static_cast<int>(state.range(0));
    const std::vector<unsigned char> png = makeTexturePng(side, channels);
    if (png.empty())
    {
        state.SkipWithError("encoding the test picture failed");
        return;
    }
    Image image("bench", 0);
    for (auto _ : state)
    {
        const bool ok = image.putData(png.data(), static_cast<int>(png.size()));
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(image.getData());
        if (!ok)
        {
            state.SkipWithError("decode failed");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * side * side * channels);
    state.counters["file_bytes"] = static_cast<double>(png.size());
}

} // namespace

BENCHMARK(BM_ImageDecodePng)->Arg(3)->Arg(4)->ArgName("channels")->Unit(benchmark::kMillisecond);
