#include "mrvutils/Image.h"
#include "tests/support/PngWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using pngtest::ColorType;
using pngtest::Picture;

namespace
{

bool decode(Image& image, const std::vector<unsigned char>& png)
{
    return image.putData(png.data(), static_cast<int>(png.size()));
}

// Deterministic sample values covering the whole range of a depth.
std::vector<unsigned> patternSamples(size_t count, int depth, unsigned seed)
{
    std::vector<unsigned> samples(count);
    unsigned state = seed * 2654435761u + 1;
    for (unsigned& s : samples)
    {
        state = state * 1103515245u + 12345u;
        s = (state >> 8) & ((1u << depth) - 1);
    }
    if (!samples.empty())
        samples[0] = (1u << depth) - 1;
    return samples;
}

// What the decoder must make of one sample: low depths scaled up to fill the
// byte (1 -> 255, 2-bit 1 -> 85, 4-bit 1 -> 17), 16-bit reduced to its high byte.
unsigned char to8Bits(unsigned value, int depth)
{
    if (depth == 16)
        return static_cast<unsigned char>(value >> 8);
    return static_cast<unsigned char>(value * (255 / ((1u << depth) - 1)));
}

// The decoded block the picture should give: bottom row first, palette
// entries looked up (with alpha when the picture has a tRNS chunk).
std::vector<unsigned char> expectedPixels(const Picture& p)
{
    const int channels = pngtest::channelsOf(p.type);
    std::vector<unsigned char> out;
    for (int row = p.height - 1; row >= 0; --row)
    {
        for (int x = 0; x < p.width * channels; ++x)
        {
            const unsigned value = p.samples[size_t(row) * p.width * channels + x];
            if (p.type != ColorType::Palette)
            {
                out.push_back(to8Bits(value, p.bitDepth));
                continue;
            }
            for (int c = 0; c < 3; ++c)
                out.push_back(p.palette[3 * value + c]);
            if (!p.paletteAlpha.empty())
                out.push_back(value < p.paletteAlpha.size() ? p.paletteAlpha[value] : 255);
        }
    }
    return out;
}

Picture palettePicture(int width, int height, int depth, bool withAlpha)
{
    Picture p = pngtest::makePicture(width, height, ColorType::Palette,
                                     patternSamples(size_t(width) * height, depth, 7), depth);
    const unsigned entries = 1u << depth;
    for (unsigned i = 0; i < entries; ++i)
    {
        p.palette.push_back(static_cast<unsigned char>(i * 37 + 1));
        p.palette.push_back(static_cast<unsigned char>(255 - i * 11));
        p.palette.push_back(static_cast<unsigned char>(i * 5));
    }
    // Fewer alpha entries than colours: the rest are opaque.
    if (withAlpha)
        for (unsigned i = 0; i < (entries + 1) / 2; ++i)
            p.paletteAlpha.push_back(static_cast<unsigned char>(i * 29));
    return p;
}

std::vector<unsigned char> smallRgbPng()
{
    return pngtest::encodePng(pngtest::makePicture(3, 2, ColorType::RGB, patternSamples(18, 8, 3)));
}

// libpng's default handler prints every refused file; the loops below refuse
// hundreds. A sanitizer report would be swallowed too, so setting
// IMAGE_TEST_STDERR shows everything when a loop test dies.
struct ErrorOutputSilencer
{
    const bool active = std::getenv("IMAGE_TEST_STDERR") == nullptr;
    ErrorOutputSilencer()
    {
        if (active)
            ::testing::internal::CaptureStderr();
    }
    ~ErrorOutputSilencer()
    {
        if (active)
            ::testing::internal::GetCapturedStderr();
    }
};

} // namespace

TEST(ImageDecode, TwoByTwoRgbStoresBottomRowFirst)
{
    // Top row red, green; bottom row blue, white.
    const auto png = pngtest::encodePng(pngtest::makePicture(
        2, 2, ColorType::RGB, {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    Image image("twobytwo", 0);
    ASSERT_TRUE(decode(image, png));
    EXPECT_TRUE(image.exists());
    EXPECT_EQ(image.getWidth(), 2);
    EXPECT_EQ(image.getHeight(), 2);
    EXPECT_EQ(image.getBpp(), 24);
    EXPECT_EQ(image.getPixelSize(), 3);
    const std::vector<unsigned char> want = {0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0};
    EXPECT_EQ(std::vector<unsigned char>(image.getData(), image.getData() + 12), want);
}

TEST(ImageDecode, EveryColourTypeAndDepthGivesBytePixels)
{
    struct Case
    {
        ColorType type;
        int depth;
        int bpp;
    };
    const Case cases[] = {
        {ColorType::Grey, 1, 8},       {ColorType::Grey, 2, 8},       {ColorType::Grey, 4, 8},
        {ColorType::Grey, 8, 8},       {ColorType::Grey, 16, 8},      {ColorType::GreyAlpha, 8, 16},
        {ColorType::GreyAlpha, 16, 16}, {ColorType::RGB, 8, 24},      {ColorType::RGB, 16, 24},
        {ColorType::RGBA, 8, 32},      {ColorType::RGBA, 16, 32},
    };
    // Odd sizes so that packed low-depth rows end mid-byte.
    for (const Case& c : cases)
        for (bool interlaced : {false, true})
        {
            SCOPED_TRACE("type " + std::to_string(int(c.type)) + " depth " + std::to_string(c.depth)
                         + (interlaced ? " interlaced" : ""));
            const int width = 13, height = 5;
            Picture p = pngtest::makePicture(
                width, height, c.type,
                patternSamples(size_t(width) * height * pngtest::channelsOf(c.type), c.depth, c.depth), c.depth);
            p.interlaced = interlaced;
            const auto png = pngtest::encodePng(p);
            ASSERT_FALSE(png.empty());

            Image image("generated", 0);
            ASSERT_TRUE(decode(image, png));
            EXPECT_EQ(image.getBpp(), c.bpp);
            EXPECT_EQ(image.getPixelSize(), c.bpp / 8);
            const auto want = expectedPixels(p);
            ASSERT_EQ(want.size(), size_t(width) * height * c.bpp / 8);
            EXPECT_EQ(std::vector<unsigned char>(image.getData(), image.getData() + want.size()), want);
        }
}

TEST(ImageDecode, LowDepthGreyScalesToFullByte)
{
    Image image("grey", 0);
    ASSERT_TRUE(decode(image, pngtest::encodePng(pngtest::makePicture(2, 1, ColorType::Grey, {1, 0}, 1))));
    EXPECT_EQ(image.getData()[0], 255);
    EXPECT_EQ(image.getData()[1], 0);
    ASSERT_TRUE(decode(image, pngtest::encodePng(pngtest::makePicture(4, 1, ColorType::Grey, {0, 1, 2, 3}, 2))));
    EXPECT_EQ(std::vector<unsigned char>(image.getData(), image.getData() + 4),
              (std::vector<unsigned char>{0, 85, 170, 255}));
    ASSERT_TRUE(decode(image, pngtest::encodePng(pngtest::makePicture(2, 1, ColorType::Grey, {1, 15}, 4))));
    EXPECT_EQ(image.getData()[0], 17);
    EXPECT_EQ(image.getData()[1], 255);
}

TEST(ImageDecode, PaletteExpandsToRgbAndToRgbaWithTransparency)
{
    for (int depth : {1, 2, 4, 8})
        for (bool withAlpha : {false, true})
        {
            SCOPED_TRACE("depth " + std::to_string(depth) + (withAlpha ? " with tRNS" : ""));
            const Picture p = palettePicture(11, 3, depth, withAlpha);
            Image image("palette", 0);
            ASSERT_TRUE(decode(image, pngtest::encodePng(p)));
            EXPECT_EQ(image.getBpp(), withAlpha ? 32 : 24);
            const auto want = expectedPixels(p);
            ASSERT_EQ(want.size(), size_t(11) * 3 * image.getPixelSize());
            EXPECT_EQ(std::vector<unsigned char>(image.getData(), image.getData() + want.size()), want);
        }
}

TEST(ImageDecode, SixteenBitRgbaKeepsHighBytes)
{
    const auto png = pngtest::encodePng(
        pngtest::makePicture(1, 1, ColorType::RGBA, {0x12ff, 0xab00, 0x0001, 0xfffe}, 16));
    Image image("rgba16", 0);
    ASSERT_TRUE(decode(image, png));
    EXPECT_EQ(image.getBpp(), 32);
    EXPECT_EQ(std::vector<unsigned char>(image.getData(), image.getData() + 4),
              (std::vector<unsigned char>{0x12, 0xab, 0x00, 0xff}));
}

TEST(ImageFloatData, IsBytesOverTwoHundredFiftySixAndCached)
{
    Image image("floats", 0);
    EXPECT_EQ(image.getFloatData(), nullptr);
    ASSERT_TRUE(decode(image, pngtest::encodePng(pngtest::makePicture(2, 1, ColorType::GreyAlpha, {0, 255, 128, 1}))));
    float* floats = image.getFloatData();
    ASSERT_NE(floats, nullptr);
    // Bottom row first, as the bytes are.
    EXPECT_FLOAT_EQ(floats[0], 0.0f);
    EXPECT_FLOAT_EQ(floats[1], 255.0f / 256.0f);
    EXPECT_FLOAT_EQ(floats[2], 0.5f);
    EXPECT_FLOAT_EQ(floats[3], 1.0f / 256.0f);
    EXPECT_EQ(image.getFloatData(), floats);

    // A new picture must not be served from the old cache.
    ASSERT_TRUE(decode(image, pngtest::encodePng(pngtest::makePicture(1, 1, ColorType::Grey, {64}))));
    ASSERT_NE(image.getFloatData(), nullptr);
    EXPECT_FLOAT_EQ(image.getFloatData()[0], 0.25f);
}

TEST(ImageFile, LoadsFromDiskAndRemembersPath)
{
    const std::string path = ::testing::TempDir() + "image_test_rgba.png";
    const Picture p = pngtest::makePicture(3, 2, ColorType::RGBA, patternSamples(24, 8, 9));
    ASSERT_TRUE(pngtest::writeFile(path, pngtest::encodePng(p)));

    Image fromString(path);
    EXPECT_TRUE(fromString.exists());
    EXPECT_EQ(fromString.getFileName(), path);
    EXPECT_EQ(fromString.getBpp(), 32);
    const auto want = expectedPixels(p);
    EXPECT_EQ(std::vector<unsigned char>(fromString.getData(), fromString.getData() + want.size()), want);

    Image fromChars(path.c_str());
    EXPECT_TRUE(fromChars.exists());
    EXPECT_EQ(fromChars.getWidth(), 3);
    EXPECT_EQ(fromChars.getHeight(), 2);
    std::remove(path.c_str());
}

TEST(ImageFile, MissingOrNonPngFileDoesNotExist)
{
    const std::string missing = ::testing::TempDir() + "image_test_no_such_file.png";
    Image image(missing);
    EXPECT_FALSE(image.exists());
    EXPECT_EQ(image.getFileName(), missing);
    EXPECT_EQ(image.getData(), nullptr);

    const std::string text = ::testing::TempDir() + "image_test_text.png";
    ASSERT_TRUE(pngtest::writeFile(text, {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '\n'}));
    EXPECT_FALSE(Image(text).exists());
    ASSERT_TRUE(pngtest::writeFile(text, {}));
    EXPECT_FALSE(Image(text).exists());
    std::remove(text.c_str());

    EXPECT_FALSE(Image(::testing::TempDir()).exists());
}

TEST(ImageReload, FailedDecodeDropsPreviousPicture)
{
    Image image("reload", 0);
    EXPECT_FALSE(image.exists());
    EXPECT_EQ(image.getFileName(), "reload");
    ASSERT_TRUE(decode(image, smallRgbPng()));
    image.getFloatData();

    const std::vector<unsigned char> junk = {0x89, 'P', 'N', 'G', 0, 0, 0, 0, 1, 2, 3};
    EXPECT_FALSE(decode(image, junk));
    EXPECT_FALSE(image.exists());
    EXPECT_EQ(image.getData(), nullptr);
    EXPECT_EQ(image.getFloatData(), nullptr);
    EXPECT_EQ(image.getWidth(), 0);
    EXPECT_EQ(image.getBpp(), 0);
}

TEST(ImageFailure, EmptyShortAndForeignBuffers)
{
    Image image("bad", 0);
    EXPECT_FALSE(image.putData(nullptr, 0));
    const std::vector<unsigned char> valid = smallRgbPng();
    EXPECT_FALSE(image.putData(valid.data(), 0));
    EXPECT_FALSE(image.putData(valid.data(), -5));
    // The signature alone, and less than it.
    EXPECT_FALSE(image.putData(valid.data(), 7));
    EXPECT_FALSE(image.putData(valid.data(), 8));
    const std::vector<unsigned char> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(decode(image, gif));
    EXPECT_FALSE(image.exists());
}

TEST(ImageFailure, EveryTruncationFailsCleanly)
{
    ErrorOutputSilencer quiet;
    for (const Picture& p : {pngtest::makePicture(3, 2, ColorType::RGB, patternSamples(18, 8, 3)),
                             palettePicture(5, 4, 4, true)})
    {
        const auto png = pngtest::encodePng(p);
        Image image("truncated", 0);
        for (size_t length = 0; length < png.size(); ++length)
            EXPECT_FALSE(image.putData(png.data(), static_cast<int>(length))) << "prefix of " << length;
        EXPECT_TRUE(decode(image, png));
    }
}

TEST(ImageFailure, CorruptChunksAreRejected)
{
    const auto valid = smallRgbPng();
    const size_t ihdr = pngtest::findChunk(valid, "IHDR");
    const size_t idat = pngtest::findChunk(valid, "IDAT");
    ASSERT_NE(ihdr, pngtest::npos);
    ASSERT_NE(idat, pngtest::npos);
    Image image("corrupt", 0);

    auto idatBadCrc = valid;
    idatBadCrc[idat + 8 + 3] ^= 0x40;
    EXPECT_FALSE(decode(image, idatBadCrc));

    auto ihdrBadCrc = valid;
    ihdrBadCrc[ihdr + 8 + 12] ^= 0x01; // filter method
    EXPECT_FALSE(decode(image, ihdrBadCrc));

    // A broken zlib header in a chunk whose CRC matches: the inflater refuses it.
    auto badZlib = valid;
    badZlib[idat + 8] = 0xff;
    pngtest::updateChunkCrc(badZlib, idat);
    EXPECT_FALSE(decode(image, badZlib));

    auto noIdat = valid;
    noIdat[idat + 4] = 'J';
    pngtest::updateChunkCrc(noIdat, idat);
    EXPECT_FALSE(decode(image, noIdat));
}

TEST(ImageFailure, ImplausibleSizesAreRefused)
{
    const auto valid = smallRgbPng();
    const size_t ihdr = pngtest::findChunk(valid, "IHDR");
    auto withSize = [&](unsigned width, unsigned height) {
        auto png = valid;
        const unsigned values[2] = {width, height};
        for (int v = 0; v < 2; ++v)
            for (int b = 0; b < 4; ++b)
                png[ihdr + 8 + 4 * v + b] = static_cast<unsigned char>(values[v] >> (24 - 8 * b));
        pngtest::updateChunkCrc(png, ihdr);
        return png;
    };
    Image image("huge", 0);
    EXPECT_FALSE(decode(image, withSize(100000, 100000)));
    EXPECT_FALSE(decode(image, withSize(0x7fffffff, 1)));
    EXPECT_FALSE(decode(image, withSize(1, 70000)));
    EXPECT_FALSE(decode(image, withSize(0, 2)));
    // Within the size limits, but a few dozen bytes of IDAT cannot inflate
    // to 16384 x 16384 pixels.
    EXPECT_FALSE(decode(image, withSize(16384, 16384)));
    EXPECT_FALSE(image.exists());
    // The unedited header still decodes: the edits above are what failed.
    EXPECT_TRUE(decode(image, withSize(3, 2)));
}

TEST(ImageFailure, SingleByteDamageNeverBreaksTheDecoder)
{
    ErrorOutputSilencer quiet;
    const auto valid = pngtest::encodePng(palettePicture(6, 5, 2, true));
    Image image("damaged", 0);
    // Flip each byte once as it is, and once with the chunk's CRC repaired so
    // the damage reaches the chunk parsers and the inflater.
    for (size_t at = 0; at < valid.size(); ++at)
    {
        auto damaged = valid;
        damaged[at] ^= 0xa5;
        if (decode(image, damaged))
        {
            EXPECT_NE(image.getData(), nullptr);
        }

        for (size_t chunk = 8; chunk + 12 <= valid.size();)
        {
            const size_t length = (size_t(valid[chunk]) << 24) | (size_t(valid[chunk + 1]) << 16)
                | (size_t(valid[chunk + 2]) << 8) | valid[chunk + 3];
            if (at >= chunk + 8 && at < chunk + 8 + length)
            {
                pngtest::updateChunkCrc(damaged, chunk);
                if (decode(image, damaged))
                {
                    EXPECT_TRUE(image.getBpp() == 8 || image.getBpp() == 16 || image.getBpp() == 24 || image.getBpp() == 32)
                        << image.getBpp();
                    EXPECT_EQ(image.getPixelSize() * 8, image.getBpp());
                }
                break;
            }
            chunk += 12 + length;
        }
    }
}

TEST(ImageDecode, HighlyCompressedPictureIsNotMistakenForACorruptSize)
{
    // Black unfiltered rows make a stream of zero bytes, which deflates close
    // to the format's limit of 1032 to 1: the bound the decoder uses to refuse
    // headers the file could never fill must still let it through.
    const int side = 4096;
    Picture p = pngtest::makePicture(side, side, ColorType::Grey, std::vector<unsigned>(size_t(side) * side, 0), 1);
    p.compressionLevel = 9;
    p.unfiltered = true;
    const auto png = pngtest::encodePng(p);
    ASSERT_FALSE(png.empty());
    ASSERT_LT(png.size() * 900, size_t(side) * side / 8) << "the picture should deflate beyond 900 to 1";
    Image image("blank", 0);
    ASSERT_TRUE(decode(image, png));
    EXPECT_EQ(image.getBpp(), 8);
    EXPECT_EQ(image.getData()[0], 0);
    EXPECT_EQ(image.getData()[size_t(side) * side - 1], 0);
}
