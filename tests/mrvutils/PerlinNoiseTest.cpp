#include "mrvutils/PerlinNoise.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(PerlinNoise, LatticeHashMatchesItsFormula)
{
    PerlinNoise noise(1.0f, 1.0f, 0.5f, 1);
    EXPECT_NEAR(noise.lattice(0), 1.0f - 1376312589.0f / 1073741824.0f, 1e-6f);
    EXPECT_NEAR(noise.lattice(0), -0.2818f, 1e-4f);

    // n = 1: m = 1 ^ (1 << 13) = 8193, hashed in wrapping 32-bit arithmetic.
    const unsigned int m = 8193u;
    const unsigned int h = (m * (m * m * 15731u + 789221u) + 1376312589u) & 0x7fffffffu;
    EXPECT_FLOAT_EQ(noise.lattice(1), 1.0f - static_cast<float>(h) / 1073741824.0f);

    for (int n : { -100000, -1, 2, 57, 123456789 })
    {
        const float v = noise.lattice(n);
        EXPECT_GT(v, -1.0f) << n;
        EXPECT_LE(v, 1.0f) << n;
    }
}

TEST(PerlinNoise, OneOctaveAtALatticePoint)
{
    PerlinNoise noise(0.75f, 1.0f, 0.5f, 1);
    EXPECT_NEAR(noise.getValue(0.0f), 0.3943f, 1e-4f);
    EXPECT_FLOAT_EQ(noise.getLastValue(), noise.getValue(0.0f));
    // At integer coordinates the cosine weight is 0: the lattice value alone.
    EXPECT_FLOAT_EQ(noise.calcValue(3.0f), noise.lattice(3));
    EXPECT_FLOAT_EQ(noise.calcValue(2.0f, 1.0f), noise.lattice(2 + 57));
    EXPECT_FLOAT_EQ(noise.calcValue(1.0f, 1.0f, 1.0f), noise.lattice(1 + 57 + 13));
}

TEST(PerlinNoise, CosineBlendBetweenNeighbours)
{
    PerlinNoise noise(1.0f, 1.0f, 0.5f, 1);
    // Halfway the weight is exactly 0.5.
    EXPECT_NEAR(noise.calcValue(4.5f), 0.5f * (noise.lattice(4) + noise.lattice(5)), 1e-6f);
    // Truncation toward zero: -0.5 lies in the cell at 0, weight from |f|.
    EXPECT_NEAR(noise.calcValue(-0.5f), 0.5f * (noise.lattice(0) + noise.lattice(1)), 1e-6f);
    const float w = (1.0f - std::cos(3.1415927f * 0.25f)) * 0.5f;
    EXPECT_NEAR(noise.calcValue(0.25f, 0.0f), noise.lattice(0) * (1 - w) + noise.lattice(1) * w, 1e-6f);
    EXPECT_NEAR(noise.calcValue(0.0f, 0.25f), noise.lattice(0) * (1 - w) + noise.lattice(57) * w, 1e-6f);
    EXPECT_NEAR(noise.calcValue(0.0f, 0.0f, 0.25f), noise.lattice(0) * (1 - w) + noise.lattice(13) * w, 1e-6f);
}

TEST(PerlinNoise, OctavesSumWithDoublingFrequencyAndPersistence)
{
    PerlinNoise three(0.5f, 0.1f, 0.5f, 3);
    const float x = 7.3f, y = -2.2f;
    const float sum = three.calcValue(x * 0.1f, y * 0.1f) * 0.5f + three.calcValue(x * 0.2f, y * 0.2f) * 0.25f +
                      three.calcValue(x * 0.4f, y * 0.4f) * 0.125f;
    float expected = (sum + 1.0f) * 0.5f;
    expected = std::fmin(std::fmax(expected, 0.0f), 0.5f);
    EXPECT_NEAR(three.getValue(x, y), expected, 1e-6f);
}

TEST(PerlinNoise, ResultsAreClampedToTheAmplitudeAndDeterministic)
{
    PerlinNoise noise(0.5f, 0.37f, 0.5f, 3);
    int plateau = 0;
    for (int i = 0; i < 2000; ++i)
    {
        const float x = i * 0.173f - 100.0f;
        const float v = noise.getValue(x, x * 0.5f, -x);
        ASSERT_GE(v, 0.0f);
        ASSERT_LE(v, 0.5f);
        plateau += v == 0.5f;
        PerlinNoise again(0.5f, 0.37f, 0.5f, 3);
        ASSERT_EQ(again.getValue(x, x * 0.5f, -x), v);
    }
    EXPECT_GT(plateau, 0) << "values above the amplitude flatten to it";
}
