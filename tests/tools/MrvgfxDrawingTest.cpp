#include "mrvutils/Image.h"
#include "mrvutils/BitmapFont.h"
#include "tools/mrvgfx/Canvas.h"
#include "tools/mrvgfx/Gradient.h"
#include "tools/mrvgfx/NeonText.h"
#include "tools/mrvgfx/PngFile.h"
#include "tools/mrvgfx/Random.h"
#include "tools/mrvgfx/Scenery.h"
#include "tools/mrvgfx/Shape.h"
#include "tools/mrvgfx/ValueNoise.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Rows of a glyph as '#' and '.', top row first.
std::vector<std::string> rowsOf(const std::vector<uint8_t>& columns)
{
    std::vector<std::string> rows(BitmapFont::HEIGHT, std::string(columns.size(), '.'));
    for (size_t c = 0; c < columns.size(); ++c)
        for (int r = 0; r < BitmapFont::HEIGHT; ++r)
            if ((columns[c] >> r) & 1u)
                rows[static_cast<size_t>(r)][c] = '#';
    return rows;
}

} // namespace

TEST(MrvgfxFont, GlyphsStandOnRowSixAndOnlyCommasDescend)
{
    const std::vector<std::string> k = rowsOf(BitmapFont::glyph('K'));
    const std::vector<std::string> expected = {
        "#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#", "....."
    };
    EXPECT_EQ(expected, k);

    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!?&*+-/.:'_=<>()[]"))
    {
        ASSERT_TRUE(BitmapFont::has(c)) << c;
        for (uint8_t column : BitmapFont::glyph(c))
            EXPECT_EQ(0, column & 0x80) << "'" << c << "' reaches row 7";
    }
    bool descends = false;
    for (uint8_t column : BitmapFont::glyph(','))
        descends = descends || (column & 0x80);
    EXPECT_TRUE(descends);
}

TEST(MrvgfxFont, TextsJoinGlyphsWithOneBlankColumn)
{
    std::vector<uint8_t> expected = BitmapFont::glyph('A');
    expected.push_back(0);
    const std::vector<uint8_t> i = BitmapFont::glyph('I');
    expected.insert(expected.end(), i.begin(), i.end());
    EXPECT_EQ(expected, BitmapFont::columns("AI"));
    EXPECT_EQ(BitmapFont::columns("AI"), BitmapFont::columns("ai"));
    EXPECT_EQ(static_cast<int>(expected.size()), BitmapFont::width("AI"));
    EXPECT_EQ(0, BitmapFont::width(""));
    EXPECT_FALSE(BitmapFont::has('#'));
    EXPECT_EQ(BitmapFont::glyph('?'), BitmapFont::glyph('#'));
}

TEST(MrvgfxShapes, DistancesAreSignedAndCombine)
{
    const Shape box = Shape::box(0.0f, 0.0f, 10.0f, 10.0f);
    EXPECT_FLOAT_EQ(-5.0f, box.distance(5.0f, 5.0f));
    EXPECT_FLOAT_EQ(3.0f, box.distance(13.0f, 5.0f));

    // An L whose notch is outside although inside the bounding box.
    const Shape ell = Shape::polygon({ { 0, 0 }, { 10, 0 }, { 10, 4 }, { 4, 4 }, { 4, 10 }, { 0, 10 } });
    EXPECT_LT(ell.distance(2.0f, 8.0f), 0.0f);
    EXPECT_FLOAT_EQ(2.0f, ell.distance(8.0f, 6.0f));

    const Shape both = Shape::unite({ Shape::circle(0.0f, 0.0f, 1.0f), Shape::circle(10.0f, 0.0f, 1.0f) });
    EXPECT_FLOAT_EQ(4.0f, both.distance(5.0f, 0.0f));
    EXPECT_FLOAT_EQ(-1.0f, both.distance(10.0f, 0.0f));
    const Shape ring = Shape::circle(0.0f, 0.0f, 5.0f).subtract(Shape::circle(0.0f, 0.0f, 3.0f));
    EXPECT_GT(ring.distance(0.0f, 0.0f), 0.0f);
    EXPECT_LT(ring.distance(4.0f, 0.0f), 0.0f);
    // A tapered capsule is as wide as its radius at each end.
    const Shape taper = Shape::capsule({ 0.0f, 0.0f }, { 10.0f, 0.0f }, 4.0f, 1.0f);
    EXPECT_NEAR(0.0f, taper.distance(0.0f, 4.0f), 1e-5f);
    EXPECT_NEAR(0.0f, taper.distance(10.0f, 1.0f), 1e-5f);
}

TEST(MrvgfxCanvas, FillsCoverExactlyTheShapeWithSoftEdges)
{
    Canvas c(4, 1);
    c.fill(Shape::box(0.0f, -1.0f, 2.0f, 2.0f), Colour(1.0f, 0.0f, 0.0f));
    EXPECT_FLOAT_EQ(1.0f, c.pixel(0, 0).a);
    EXPECT_FLOAT_EQ(1.0f, c.pixel(1, 0).a);
    EXPECT_FLOAT_EQ(0.0f, c.pixel(2, 0).a);

    // An empty shape paints nothing, wherever its bounds point.
    Canvas empty(2, 2);
    empty.fill(Shape::unite({}), Colour(1.0f, 1.0f, 1.0f));
    empty.glow(NeonText::tubes("", 0.0f, 0.0f, 4.0f, 1.0f), Colour(1.0f, 1.0f, 1.0f), 2.0f);
    EXPECT_FLOAT_EQ(0.0f, empty.pixel(1, 1).a);

    Canvas half(1, 1);
    half.fill(Shape::box(-1.0f, -1.0f, 0.5f, 2.0f), Colour(1.0f, 1.0f, 1.0f));
    EXPECT_NEAR(0.5f, half.pixel(0, 0).a, 1e-6f);
}

TEST(MrvgfxCanvas, CompositesOverAndAddsLight)
{
    Canvas c(1, 1, Colour(0.0f, 0.0f, 1.0f));
    c.over(0, 0, Colour(1.0f, 0.0f, 0.0f, 0.5f), 1.0f);
    const Colour p = c.pixel(0, 0);
    EXPECT_FLOAT_EQ(0.5f, p.r);
    EXPECT_FLOAT_EQ(0.5f, p.b);
    EXPECT_FLOAT_EQ(1.0f, p.a);

    Canvas light(1, 1);
    light.add(0, 0, Colour(1.0f, 0.5f, 0.0f), 0.5f);
    light.add(0, 0, Colour(1.0f, 0.5f, 0.0f), 0.5f);
    const std::vector<unsigned char> rgba = light.bytes(4);
    EXPECT_EQ((std::vector<unsigned char> { 255, 128, 0, 255 }), rgba);
}

TEST(MrvgfxCanvas, ResamplingAveragesAndBleedingHidesDarkFringes)
{
    Canvas checker(2, 2);
    checker.setPixel(0, 0, Colour(1.0f, 1.0f, 1.0f));
    checker.setPixel(1, 1, Colour(1.0f, 1.0f, 1.0f));
    checker.setPixel(1, 0, Colour(0.0f, 0.0f, 0.0f));
    checker.setPixel(0, 1, Colour(0.0f, 0.0f, 0.0f));
    Canvas small(1, 1, Colour(0.0f, 0.0f, 0.0f));
    small.draw(checker, 0.0f, 0.0f, 1.0f, 1.0f);
    EXPECT_NEAR(0.5f, small.pixel(0, 0).r, 0.01f);

    Canvas sprite(3, 1);
    sprite.setPixel(0, 0, Colour(1.0f, 0.0f, 1.0f, 1.0f));
    sprite.bleed(2);
    const std::vector<unsigned char> bytes = sprite.bytes(4);
    // Transparent pixels keep their opacity 0 but take the sprite's colour.
    EXPECT_EQ((std::vector<unsigned char> { 255, 0, 255, 255, 255, 0, 255, 0, 255, 0, 255, 0 }), bytes);
}

TEST(MrvgfxNoise, RepeatsAfterItsPeriodAndStaysInRange)
{
    const ValueNoise noise(5);
    for (float x = 0.0f; x < 8.0f; x += 0.37f)
    {
        // Equal but for the rounding of the shifted coordinate.
        EXPECT_NEAR(noise.at(x, 3.3f, 8, 4), noise.at(x + 8.0f, 3.3f + 4.0f, 8, 4), 1e-5f);
        EXPECT_NEAR(noise.fractal(x, 4, 8), noise.fractal(x + 8.0f, 4, 8), 1e-5f);
        const float v = noise.fractal(x, 1.7f, 5);
        EXPECT_GE(v, 0.0f);
        EXPECT_LE(v, 1.0f);
    }
    EXPECT_NE(noise.at(0.5f, 0.5f), ValueNoise(6).at(0.5f, 0.5f));
}

TEST(MrvgfxPng, EncodedPicturesDecodeToTheirPixels)
{
    Canvas c(3, 2);
    c.setPixel(0, 0, Colour(1.0f, 0.0f, 0.0f));
    c.setPixel(2, 1, Colour(0.0f, 0.0f, 1.0f, 0.5f));
    for (int channels : { 3, 4 })
    {
        const std::vector<unsigned char> png = PngFile::encode(c, channels);
        Image image("canvas", 0);
        ASSERT_TRUE(image.putData(png.data(), static_cast<int>(png.size())));
        EXPECT_EQ(3, image.getWidth());
        EXPECT_EQ(2, image.getHeight());
        EXPECT_EQ(channels * 8, image.getBpp());
        const unsigned char* d = image.getData();
        // Decoded rows are bottom-up: the canvas's top row comes second.
        const int top = 3 * channels;
        EXPECT_EQ(255, d[top + 0]);
        EXPECT_EQ(0, d[top + 1]);
        // Opaque files store the light the half-transparent pixel adds on black.
        EXPECT_EQ(channels == 4 ? 255 : 128, d[2 * channels + 2]);
        if (channels == 4)
        {
            EXPECT_EQ(128, d[2 * channels + 3]);
        }
    }
}

TEST(MrvgfxNeonText, TubesFollowTheLitPixelsOnly)
{
    const float cell = 10.0f;
    const Shape t = NeonText::tubes("T", 0.0f, 0.0f, cell, 2.0f);
    // The bar across the top and the stem down the middle are inside...
    EXPECT_LT(t.distance(5.0f, 5.0f), 0.0f);
    EXPECT_LT(t.distance(25.0f, 40.0f), 0.0f);
    // ...the cells beside the stem are not.
    EXPECT_GT(t.distance(5.0f, 40.0f), 0.0f);
    EXPECT_GT(t.distance(45.0f, 40.0f), 0.0f);
    EXPECT_FLOAT_EQ(50.0f, NeonText::width("T", cell));
}

TEST(MrvgfxGradient, InterpolatesBetweenStopsAndHoldsTheEnds)
{
    const Gradient g({ { 0.2f, Colour(0.0f, 0.0f, 0.0f) }, { 0.6f, Colour(1.0f, 0.5f, 0.0f) } });
    EXPECT_FLOAT_EQ(0.0f, g.at(-1.0f).r);
    EXPECT_FLOAT_EQ(0.5f, g.at(0.4f).r);
    EXPECT_FLOAT_EQ(0.25f, g.at(0.4f).g);
    EXPECT_FLOAT_EQ(1.0f, g.at(3.0f).r);
}

TEST(MrvgfxRandom, SameSeedSameSequenceInRange)
{
    Random a(42), b(42), c(43);
    bool differs = false;
    for (int k = 0; k < 1000; ++k)
    {
        const float x = a.uniform();
        EXPECT_EQ(x, b.uniform());
        differs = differs || x != c.uniform();
        ASSERT_GE(x, 0.0f);
        ASSERT_LT(x, 1.0f);
    }
    EXPECT_TRUE(differs);
}

TEST(MrvgfxScenery, TheSunSetsBehindTheHorizon)
{
    Canvas c(64, 64);
    const float horizon = 40.0f;
    Scenery::paintSun(c, 32.0f, 36.0f, 20.0f, horizon);
    for (int y = 41; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_LT(c.pixel(x, y).a, 0.5f) << x << "," << y;
    EXPECT_FLOAT_EQ(1.0f, c.pixel(32, 20).a);
    // The lower half is cut by dark gaps: some rows across the middle of the
    // disc let the background through.
    int gapRows = 0;
    for (int y = 37; y < 40; ++y)
        gapRows += c.pixel(32, y).a < 0.9f;
    EXPECT_GT(gapRows, 0);
}
