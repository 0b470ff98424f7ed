// The spectrum graph, the texture display and the simplex noise drawn
// directly on the test context.
#include "production/effects/DisplayTexture.h"
#include "production/effects/FrequencyEffect.h"
#include "production/effects/SimplexNoiseEffect.h"

#include "demosys/sound/FMODTimer.h"
#include "tests/production/effects/EffectTestHarness.h"
#include "tests/support/MusicFixtures.h"

#include <sndfile.h>

#include <algorithm>
#include <set>

using namespace effecttest;

namespace {

class SpectrumTextureEffectTest : public EffectHarness
{
protected:
    static std::array<float, 4> uniform4(Shader* shader, const char* name)
    {
        std::array<float, 4> v{};
        glGetUniformfv(shader->getProgramHandle(), glGetUniformLocation(shader->getProgramHandle(), name), v.data());
        return v;
    }
};

std::vector<unsigned char> texels(Texture* texture, GLenum target, int count)
{
    std::vector<unsigned char> out(static_cast<size_t>(count) * 4);
    glBindTexture(target, texture->getID());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(target, 0, GL_RGBA, GL_UNSIGNED_BYTE, out.data());
    glBindTexture(target, 0);
    return out;
}

std::array<int, 4> texel(const std::vector<unsigned char>& t, size_t index)
{
    return { t[index * 4], t[index * 4 + 1], t[index * 4 + 2], t[index * 4 + 3] };
}

} // namespace

TEST_F(SpectrumTextureEffectTest, SpectrumGraphDrawsTheMeanOfBothChannels)
{
    const int rate = 44100;
    const std::string music = MusicFixtures::tempPath("graph_tone.wav");
    ASSERT_TRUE(MusicFixtures::writeTone(music, SF_FORMAT_WAV | SF_FORMAT_FLOAT, rate, rate * 2,
                                         { MusicFixtures::bandFrequency(100, 512, rate), 0.0 }, 0.8));
    FMODTimer timer(music, 20);
    timer.useFixedStep(50);
    ASSERT_TRUE(timer.init());
    timer.setTime(500);
    timer.play();
    timer.updateSystem();
    MRVDemosys::timer = &timer;

    FrequencyEffect graph;
    attach(graph, {});
    EXPECT_EQ(graph.getSpectrumLength(), 512);
    graph.draw(500, 50);
    MRVDemosys::timer = nullptr;
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());

    std::vector<float> left(512), right(512);
    timer.getSpectrum(left.data(), 512, 0, 2);
    timer.getSpectrum(right.data(), 512, 1, 2);
    ASSERT_GT(left[100], 0.1f) << "the tone is heard";
    const float* mean = graph.getMean();
    for (int i : { 0, 99, 100, 101, 300, 511 })
        EXPECT_FLOAT_EQ(mean[i], (left[i] + right[i]) * 0.5f) << i;
    EXPECT_EQ(std::max_element(mean, mean + 512) - mean, 100);

    // Band 100 sits at x = 0.45 + 100/1024 and is lifted by 0.1 * 101 * mean:
    // well above the base line at the bottom of the viewport.
    int top = -1;
    for (int y = 14; y < 50; ++y)
        for (int x = 34; x < 62; ++x)
            if (pixel(x, y)[0] > 0)
                top = std::max(top, y);
    EXPECT_GT(top, 30);

    // As bars across the whole picture: the bar over band 100 (bins 73 to
    // 107 of sixteen bars an octave apart in nine) is the tallest, and its
    // peak cap stays up after the sound has gone, falling slowly.
    startFrame();
    MRVDemosys::timer = &timer;
    FrequencyEffect bars;
    attach(bars, { { "left", "-1" }, { "bottom", "-1" }, { "width", "2" }, { "gain", "0.05" }, { "bars", "16" } });
    ASSERT_EQ(bars.getBarCount(), 16);
    bars.draw(500, 50);
    MRVDemosys::timer = nullptr;
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_TRUE(enabled(GL_DEPTH_TEST)) << "put back as it was";
    const float* heights = bars.getBarHeights();
    EXPECT_EQ(std::max_element(heights, heights + 16) - heights, 11);
    EXPECT_GT(heights[11], 0.3f);
    const int column = 64 * 11 / 16 + 1;
    int lit = 0;
    for (int y = 0; y < 64; ++y)
        lit += pixel(column, y)[0] > 0;
    EXPECT_GT(lit, 10) << "the bar stands in its column from the bottom";
    const float peak = bars.getPeaks()[11];
    bars.draw(550, 100);
    EXPECT_FLOAT_EQ(bars.getBarHeights()[11], 0.0f) << "no clock: silence";
    EXPECT_NEAR(bars.getPeaks()[11], peak - 0.04f, 1e-5f);
    timer.dispose();
}

TEST_F(SpectrumTextureEffectTest, SpectrumGraphOfASilentClockIsAllZeros)
{
    FMODTimer silent(20);
    ASSERT_TRUE(silent.init());
    MRVDemosys::timer = &silent;
    FrequencyEffect graph;
    attach(graph, {});
    graph.draw(0, 0);
    MRVDemosys::timer = nullptr;
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_EQ(*std::max_element(graph.getMean(), graph.getMean() + 512), 0.0f);
}

TEST_F(SpectrumTextureEffectTest, DisplayTextureWithShaderSetsItsColourAndLeavesBlendingAndDepthOff)
{
    loadShader("tint", "texture");
    Texture* picture = addTexture("pic", 8, 8, { 200, 100, 0, 255 });
    DisplayTexture display;
    attach(display, { { "texture", "pic" }, { "alphablend", "1" }, { "shader", "tint" } },
           { { "alpha", { { 0, 0.5f } } } });
    ASSERT_EQ(display.getShader(), MRVDemosys::shaderPool->getShader("tint"));
    EXPECT_TRUE(display.isBlending());
    EXPECT_EQ(display.getTrackNames(), (std::vector<std::string>{ "alpha", "pos.x", "pos.y", "pos.z", "size.x",
                                                                   "size.y", "rot.x", "rot.y", "rot.z", "scroll.x",
                                                                   "scroll.y" }));
    display.draw(0, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    EXPECT_EQ(uniform4(display.getShader(), "color"), (std::array<float, 4>{ 1, 1, 1, 0.5f }));
    EXPECT_FALSE(enabled(GL_BLEND));
    EXPECT_FALSE(enabled(GL_ALPHA_TEST));
    EXPECT_FALSE(enabled(GL_DEPTH_TEST));
    EXPECT_FALSE(enabled(GL_CULL_FACE));
    EXPECT_FALSE(enabled(GL_TEXTURE_2D));
    EXPECT_EQ(picture->getTextureEnv(), GL_REPLACE);
    EXPECT_EQ(picture->getWrapS(), GL_CLAMP_TO_EDGE);
    // Half alpha over black with blending: half the colour.
    const auto p = pixel(CX, CY);
    EXPECT_NEAR(p[0], 100, 2);
    EXPECT_NEAR(p[1], 50, 2);
}

TEST_F(SpectrumTextureEffectTest, DisplayTextureShaderNamesThatAreNoneOrUnknownMeanNoShader)
{
    loadShader("tint", "texture");
    addTexture("pic", 8, 8, { 0, 255, 0, 255 });
    for (const char* name : { "none", "missing" })
    {
        DisplayTexture display;
        attach(display, { { "texture", "pic" }, { "alphablend", "0" }, { "shader", name } });
        EXPECT_EQ(display.getShader(), nullptr) << name;
        EXPECT_FALSE(display.isBlending());
        glEnable(GL_COLOR_MATERIAL);
        display.draw(0, 20);
        EXPECT_TRUE(noGLError());
        EXPECT_TRUE(balanced());
        EXPECT_FALSE(enabled(GL_COLOR_MATERIAL));
        EXPECT_EQ(currentColour(), (std::array<float, 4>{ 1, 1, 1, 1 }));
        EXPECT_EQ(pixel(CX, CY)[1], 255);
    }
}

TEST_F(SpectrumTextureEffectTest, DisplayTextureScrollsOnlyForForwardSpeeds)
{
    Texture* picture = addTexture("pic", 8, 8, { 0, 0, 255, 255 });
    DisplayTexture forward;
    attach(forward, { { "texture", "pic" } }, { { "scroll.x", { { 0, 0.5f } } }, { "scroll.y", { { 0, -0.3f } } } });
    forward.draw(0, 30);
    EXPECT_TRUE(forward.isScrolling());
    EXPECT_EQ(picture->getWrapT(), GL_REPEAT);
    forward.draw(50, 30);
    // 30 ms at 0.5 / 15 per ms, twice; once scrolling, v follows its own
    // (negative) speed too.
    EXPECT_FLOAT_EQ(forward.getScrollU(), 2.0f);
    EXPECT_FLOAT_EQ(forward.getScrollV(), -1.2f);

    DisplayTexture backward;
    attach(backward, { { "texture", "pic" } }, { { "scroll.x", { { 0, -1.0f } } } });
    backward.draw(0, 30);
    backward.draw(50, 30);
    EXPECT_FALSE(backward.isScrolling());
    EXPECT_EQ(backward.getScrollU(), 0.0f);
    EXPECT_EQ(picture->getWrapS(), GL_CLAMP_TO_EDGE);
    EXPECT_TRUE(noGLError());
}

TEST_F(SpectrumTextureEffectTest, SimplexLookupTexturesHoldTheirTables)
{
    std::set<int> values(SimplexNoiseEffect::perm, SimplexNoiseEffect::perm + 256);
    EXPECT_EQ(values.size(), 256u) << "a permutation of 0..255";
    EXPECT_EQ(std::vector<int>(SimplexNoiseEffect::perm, SimplexNoiseEffect::perm + 8),
              (std::vector<int>{ 151, 160, 137, 91, 90, 15, 131, 13 }));

    loadShader("simplex");
    SimplexNoiseEffect noise;
    attach(noise, {});
    Texture* perm = noise.getPermutationTexture();
    Texture* simplex = noise.getSimplexTexture();
    ASSERT_NE(perm, nullptr);
    ASSERT_NE(simplex, nullptr);
    EXPECT_EQ(simplex->getType(), static_cast<unsigned int>(GL_TEXTURE_1D));
    EXPECT_EQ(perm->getInterpolation(), GL_NEAREST);
    EXPECT_EQ(simplex->getInterpolation(), GL_NEAREST);

    // Row i, column j: perm[(j + perm[i]) & 255] in alpha, its gradient as
    // 64 * g + 64 in colour.
    const auto permTexels = texels(perm, GL_TEXTURE_2D, 256 * 256);
    EXPECT_EQ(texel(permTexels, 0), (std::array<int, 4>{ 64, 128, 0, 17 }));
    EXPECT_EQ(texel(permTexels, 1), (std::array<int, 4>{ 0, 64, 128, 182 }));
    EXPECT_EQ(texel(permTexels, 17 * 256 + 200), (std::array<int, 4>{ 0, 128, 64, 138 }));
    EXPECT_EQ(texel(permTexels, 255 * 256 + 255), (std::array<int, 4>{ 0, 64, 0, 253 }));

    const auto order = texels(simplex, GL_TEXTURE_1D, 64);
    EXPECT_EQ(texel(order, 0), (std::array<int, 4>{ 0, 64, 128, 192 }));
    EXPECT_EQ(texel(order, 1), (std::array<int, 4>{ 0, 64, 192, 128 }));
    EXPECT_EQ(texel(order, 63), (std::array<int, 4>{ 192, 128, 64, 0 }));
    // x < y, x < z, y < z, but y > w > z: no order gives these bits.
    EXPECT_EQ(texel(order, 2), (std::array<int, 4>{ 0, 0, 0, 0 }));
    int used = 0;
    for (size_t c = 0; c < 64; ++c)
    {
        const auto t = texel(order, c);
        if (t == std::array<int, 4>{ 0, 0, 0, 0 })
            continue;
        ++used;
        std::vector<int> ranks(t.begin(), t.end());
        std::sort(ranks.begin(), ranks.end());
        EXPECT_EQ(ranks, (std::vector<int>{ 0, 64, 128, 192 })) << c;
    }
    EXPECT_EQ(used, 24) << "one entry per order of four values";
}

TEST_F(SpectrumTextureEffectTest, SimplexDrawRunsInSecondsAndLeavesNoOneDimensionalTexturingBehind)
{
    Shader* shader = loadShader("simplex");
    SimplexNoiseEffect noise;
    attach(noise, {});
    glEnable(GL_DEPTH_TEST);
    noise.draw(2500, 20);
    EXPECT_TRUE(noGLError());
    EXPECT_TRUE(balanced());
    float time = 0.0f;
    glGetUniformfv(shader->getProgramHandle(), glGetUniformLocation(shader->getProgramHandle(), "time"), &time);
    EXPECT_FLOAT_EQ(time, 2.5f);
    EXPECT_TRUE(enabled(GL_DEPTH_TEST));
    EXPECT_TRUE(enabled(GL_CULL_FACE));
    EXPECT_FALSE(enabled(GL_TEXTURE_1D));
    glActiveTexture(GL_TEXTURE1);
    EXPECT_FALSE(enabled(GL_TEXTURE_1D)) << "unit 1 would tint every later fixed-function draw";
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_1D), 0);
    glActiveTexture(GL_TEXTURE0);

    int shaded = 0;
    for (int x = 2; x < 62; x += 6)
        shaded += pixel(x, CY)[2] > 0;
    EXPECT_EQ(shaded, 10) << "the quad covers the viewport";
}
