#include "demosys/sound/MusicDecoder.h"
#include "demosys/sound/SoundChannel.h"
#include "demosys/sound/SoundStream.h"
#include "demosys/sound/SoundSystem.h"
#include "demosys/sound/SpectrumAnalyzer.h"
#include "tests/support/MusicFixtures.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
const int RATE = 48000;
const int FLOAT_WAV = SF_FORMAT_WAV | SF_FORMAT_FLOAT;

std::unique_ptr<SpectrumAnalyzer> analyzerFor(const std::string& path)
{
    std::string error;
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(path, error);
    EXPECT_TRUE(decoder) << error;
    return std::unique_ptr<SpectrumAnalyzer>(new SpectrumAnalyzer(std::move(decoder)));
}

// A stereo tone file: band kLeft of an n-band spectrum on the left, kRight on
// the right, full scale.
std::string toneFile(int n, int kLeft, int kRight)
{
    std::string path = MusicFixtures::tempPath("tone_" + std::to_string(n) + "_" + std::to_string(kLeft) + "_" +
                                               std::to_string(kRight) + ".wav");
    EXPECT_TRUE(MusicFixtures::writeTone(path, FLOAT_WAV, RATE, RATE,
                                         {MusicFixtures::bandFrequency(kLeft, n, RATE),
                                          MusicFixtures::bandFrequency(kRight, n, RATE)},
                                         1.0));
    return path;
}

int peakBand(const std::vector<float>& values)
{
    return static_cast<int>(std::max_element(values.begin(), values.end()) - values.begin());
}
}

TEST(SpectrumAnalyzerTest, FullScaleSinePeaksNearOneInItsBandOnEachChannel)
{
    struct Case
    {
        int n, left, right;
    };
    for (Case c : {Case{64, 5, 20}, Case{512, 40, 7}, Case{512, 200, 301}, Case{8192, 1000, 4000}})
    {
        auto analyzer = analyzerFor(toneFile(c.n, c.left, c.right));
        std::vector<float> left(static_cast<size_t>(c.n), -1.0f);
        std::vector<float> right(static_cast<size_t>(c.n), -1.0f);
        uint64_t at = RATE / 2;
        ASSERT_TRUE(analyzer->analyse(at, left.data(), c.n, 0, SpectrumAnalyzer::WINDOW_HANNING));
        ASSERT_TRUE(analyzer->analyse(at, right.data(), c.n, 1, SpectrumAnalyzer::WINDOW_HANNING));
        EXPECT_EQ(c.left, peakBand(left)) << c.n;
        EXPECT_EQ(c.right, peakBand(right)) << c.n;
        EXPECT_NEAR(1.0, left[static_cast<size_t>(c.left)], 0.1) << c.n;
        EXPECT_NEAR(1.0, right[static_cast<size_t>(c.right)], 0.1) << c.n;
        // The other channel's tone does not show through.
        EXPECT_LT(left[static_cast<size_t>(c.right)], 0.01) << c.n;
        EXPECT_LT(right[static_cast<size_t>(c.left)], 0.01) << c.n;
    }
}

TEST(SpectrumAnalyzerTest, EveryWindowIsGainCompensated)
{
    const int n = 256;
    auto analyzer = analyzerFor(toneFile(n, 33, 90));
    for (int window = 0; window < SpectrumAnalyzer::WINDOW_COUNT; ++window)
    {
        std::vector<float> values(n);
        ASSERT_TRUE(analyzer->analyse(20000, values.data(), n, 0, window));
        EXPECT_EQ(33, peakBand(values)) << window;
        EXPECT_NEAR(1.0, values[33], 0.1) << window;
        for (float v : values)
            ASSERT_GE(v, 0.0f);
        // Far from the tone, every window leaves little.
        EXPECT_LT(values[120], 0.02) << window;
    }
}

TEST(SpectrumAnalyzerTest, WindowsDifferInLeakage)
{
    // A tone between two bands leaks far with the rectangle, hardly with
    // Blackman-Harris: the window types are really applied.
    const int n = 256;
    std::string path = MusicFixtures::tempPath("between.wav");
    ASSERT_TRUE(MusicFixtures::writeTone(path, FLOAT_WAV, RATE, RATE, {MusicFixtures::bandFrequency(50, n, RATE) + 46.875}, 1.0));
    auto analyzer = analyzerFor(path);
    std::vector<float> rect(n);
    std::vector<float> harris(n);
    ASSERT_TRUE(analyzer->analyse(10000, rect.data(), n, 0, SpectrumAnalyzer::WINDOW_RECTANGLE));
    ASSERT_TRUE(analyzer->analyse(10000, harris.data(), n, 0, SpectrumAnalyzer::WINDOW_BLACKMAN_HARRIS));
    EXPECT_GT(rect[80], 10.0f * harris[80]);
    int peak = peakBand(harris);
    EXPECT_TRUE(peak == 50 || peak == 51) << peak;
}

TEST(SpectrumAnalyzerTest, SilenceAndTheTimeBeforeTheMusicAreZero)
{
    std::string path = MusicFixtures::tempPath("silence.wav");
    ASSERT_TRUE(MusicFixtures::writeTone(path, FLOAT_WAV, RATE, RATE, {0.0, 0.0}, 1.0));
    auto analyzer = analyzerFor(path);
    std::vector<float> values(1024, 1.0f);
    ASSERT_TRUE(analyzer->analyse(30000, values.data(), 1024, 1, SpectrumAnalyzer::WINDOW_BLACKMAN));
    for (float v : values)
        ASSERT_EQ(0.0f, v);

    auto tone = analyzerFor(toneFile(64, 10, 10));
    std::fill(values.begin(), values.end(), 1.0f);
    ASSERT_TRUE(tone->analyse(0, values.data(), 64, 0, SpectrumAnalyzer::WINDOW_RECTANGLE));
    for (int k = 0; k < 64; ++k)
        ASSERT_EQ(0.0f, values[static_cast<size_t>(k)]);
    // Past the end of the music too.
    ASSERT_TRUE(tone->analyse(RATE + 500, values.data(), 64, 0, SpectrumAnalyzer::WINDOW_RECTANGLE));
    for (int k = 0; k < 64; ++k)
        ASSERT_EQ(0.0f, values[static_cast<size_t>(k)]);
}

TEST(SpectrumAnalyzerTest, WindowEndsAtThePosition)
{
    // Silence, then a tone from frame 10000: at 10000 the window still holds
    // only silence; 2n frames later it is all tone.
    const int n = 128;
    std::string path = MusicFixtures::tempPath("onset.wav");
    double f = MusicFixtures::bandFrequency(16, n, RATE);
    ASSERT_TRUE(MusicFixtures::writeSound(path, FLOAT_WAV, RATE, 1, RATE, [f](int, int64_t frame) {
        return frame < 10000 ? 0.0f : static_cast<float>(std::sin(6.283185307179586 * f * frame / RATE));
    }));
    auto analyzer = analyzerFor(path);
    std::vector<float> values(n);
    ASSERT_TRUE(analyzer->analyse(10000, values.data(), n, 0, SpectrumAnalyzer::WINDOW_RECTANGLE));
    EXPECT_EQ(0.0f, values[16]);
    ASSERT_TRUE(analyzer->analyse(10000 + 2 * n, values.data(), n, 1, SpectrumAnalyzer::WINDOW_RECTANGLE));
    EXPECT_NEAR(1.0, values[16], 0.1);
    // Backwards (a seek) gives the same as the first time.
    ASSERT_TRUE(analyzer->analyse(10000 + n, values.data(), n, 0, SpectrumAnalyzer::WINDOW_RECTANGLE));
    EXPECT_NEAR(0.5, values[16], 0.1);
}

TEST(SpectrumAnalyzerTest, SameMusicAndPositionsGiveIdenticalResults)
{
    // Stepping forward frame by frame decodes on from the ring; a fresh
    // analyser seeking straight to each position must agree bit for bit.
    std::string path = MusicFixtures::tempPath("det.ogg");
    ASSERT_TRUE(MusicFixtures::writeTone(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, RATE, RATE * 2, {523.0, 1201.0}, 0.7));
    auto stepping = analyzerFor(path);
    std::vector<float> a(512);
    std::vector<float> b(512);
    for (uint64_t at = 0; at < 20 * 800; at += 800)
    {
        ASSERT_TRUE(stepping->analyse(at, a.data(), 512, 0, SpectrumAnalyzer::WINDOW_HAMMING));
        auto fresh = analyzerFor(path);
        ASSERT_TRUE(fresh->analyse(at, b.data(), 512, 0, SpectrumAnalyzer::WINDOW_HAMMING));
        ASSERT_EQ(a, b) << at;
    }
}

TEST(SpectrumAnalyzerTest, InvalidRequestsAreRefused)
{
    auto analyzer = analyzerFor(toneFile(64, 3, 3));
    std::vector<float> values(16384, 7.0f);
    for (int n : {0, 32, 63, 96, 100, 16384, -64})
        EXPECT_FALSE(analyzer->analyse(1000, values.data(), n, 0, 0)) << n;
    EXPECT_FALSE(analyzer->analyse(1000, values.data(), 64, 2, 0));
    EXPECT_FALSE(analyzer->analyse(1000, values.data(), 64, -1, 0));
    EXPECT_FALSE(analyzer->analyse(1000, values.data(), 64, 0, 6));
    EXPECT_FALSE(analyzer->analyse(1000, nullptr, 64, 0, 0));
    EXPECT_EQ(7.0f, values[0]);
    EXPECT_FALSE(analyzer->getErrorMessage().empty());
    EXPECT_TRUE(analyzer->analyse(1000, values.data(), 8192, 1, 5));
}

TEST(SpectrumAnalyzerTest, ChannelReadsAtItsPositionAndMonoServesBoth)
{
    const int n = 64;
    std::string path = MusicFixtures::tempPath("mono_tone.wav");
    ASSERT_TRUE(MusicFixtures::writeTone(path, FLOAT_WAV, RATE, RATE, {MusicFixtures::bandFrequency(9, n, RATE)}, 1.0));
    SoundSystem system;
    ASSERT_EQ(SOUND_OK, system.init(1));
    SoundStream* stream = nullptr;
    SoundChannel* channel = nullptr;
    ASSERT_EQ(SOUND_OK, system.createStream(path, &stream));
    ASSERT_EQ(SOUND_OK, system.playSound(stream, true, &channel));
    std::vector<float> left(n);
    std::vector<float> right(n);
    ASSERT_EQ(SOUND_OK, channel->setPosition(500));
    ASSERT_EQ(SOUND_OK, channel->getSpectrum(left.data(), n, 0, 2));
    ASSERT_EQ(SOUND_OK, channel->getSpectrum(right.data(), n, 1, 2));
    EXPECT_EQ(left, right);
    EXPECT_NEAR(1.0, left[9], 0.1);
    EXPECT_EQ(SOUND_ERR_INVALID_PARAM, channel->getSpectrum(left.data(), 65, 0, 2));
    // Position 0: nothing has played yet.
    channel->setPosition(0);
    ASSERT_EQ(SOUND_OK, channel->getSpectrum(left.data(), n, 0, 2));
    EXPECT_EQ(0.0f, *std::max_element(left.begin(), left.end()));
}
