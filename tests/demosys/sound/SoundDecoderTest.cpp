#include "demosys/sound/ModuleDecoder.h"
#include "demosys/sound/MusicDecoder.h"
#include "demosys/sound/SndfileDecoder.h"
#include "tests/support/MusicFixtures.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <vector>

namespace
{
const int RATE = 44100;
const int64_t RAMP_FRAMES = 3 * RATE;

// Every frame's value tells its index: exact in a float WAV.
float rampValue(int channel, int64_t frame)
{
    float v = static_cast<float>(frame) / RAMP_FRAMES;
    return channel == 0 ? v : -v;
}

std::string rampWav()
{
    static std::string path;
    if (path.empty())
    {
        path = MusicFixtures::tempPath("ramp.wav");
        EXPECT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, RATE, 2, RAMP_FRAMES, rampValue));
    }
    return path;
}

std::vector<float> readAll(MusicDecoder& decoder, size_t frames)
{
    std::vector<float> out(frames * 2);
    size_t got = decoder.read(out.data(), frames);
    out.resize(got * 2);
    return out;
}

std::unique_ptr<MusicDecoder> openOrFail(const std::string& path)
{
    std::string error;
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(path, error);
    EXPECT_TRUE(decoder) << error;
    return decoder;
}
}

TEST(SoundDecoderTest, LengthsOfWavOggAndModule)
{
    std::string wav = MusicFixtures::tempPath("len.wav");
    std::string ogg = MusicFixtures::tempPath("len.ogg");
    std::string mod = MusicFixtures::tempPath("len.mod");
    ASSERT_TRUE(MusicFixtures::writeTone(wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 22050 * 5 / 2, {440.0}, 0.5));
    ASSERT_TRUE(MusicFixtures::writeTone(ogg, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 48000, 48000 + 24000, {440.0, 880.0}, 0.5));
    ASSERT_TRUE(MusicFixtures::writeBytes(mod, MusicFixtures::moduleBytes()));

    auto w = openOrFail(wav);
    auto o = openOrFail(ogg);
    auto m = openOrFail(mod);
    ASSERT_TRUE(w && o && m);
    EXPECT_EQ(22050, w->getSampleRate());
    EXPECT_EQ(22050u * 5 / 2, w->getLengthFrames());
    EXPECT_EQ(48000, o->getSampleRate());
    EXPECT_EQ(72000u, o->getLengthFrames());
    EXPECT_NE(nullptr, dynamic_cast<ModuleDecoder*>(m.get()));
    EXPECT_EQ(MusicDecoder::MODULE_RATE, m->getSampleRate());
    EXPECT_NEAR(MusicFixtures::MODULE_LENGTH_MS * 48.0, static_cast<double>(m->getLengthFrames()), 48.0);
}

TEST(SoundDecoderTest, SeekIsSampleExactInWav)
{
    auto decoder = openOrFail(rampWav());
    ASSERT_TRUE(decoder);
    for (uint64_t frame : {uint64_t(0), uint64_t(1), uint64_t(12345), uint64_t(RATE * 2 + 7), uint64_t(RAMP_FRAMES - 3)})
    {
        ASSERT_TRUE(decoder->seek(frame));
        std::vector<float> got = readAll(*decoder, 2);
        ASSERT_GE(got.size(), 2u) << frame;
        EXPECT_EQ(rampValue(0, static_cast<int64_t>(frame)), got[0]) << frame;
        EXPECT_EQ(rampValue(1, static_cast<int64_t>(frame)), got[1]) << frame;
    }
}

TEST(SoundDecoderTest, ReadStopsAtTheEndAndPastTheEndIsEmpty)
{
    auto decoder = openOrFail(rampWav());
    ASSERT_TRUE(decoder);
    ASSERT_TRUE(decoder->seek(RAMP_FRAMES - 10));
    EXPECT_EQ(20u, readAll(*decoder, 100).size());
    EXPECT_EQ(0u, readAll(*decoder, 100).size());
    EXPECT_TRUE(decoder->seek(RAMP_FRAMES + 1000));
    EXPECT_EQ(0u, readAll(*decoder, 100).size());
    // And back again.
    ASSERT_TRUE(decoder->seek(5));
    std::vector<float> got = readAll(*decoder, 1);
    ASSERT_EQ(2u, got.size());
    EXPECT_EQ(rampValue(0, 5), got[0]);
}

TEST(SoundDecoderTest, MonoFeedsBothSides)
{
    std::string path = MusicFixtures::tempPath("mono.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, RATE, 1, 3000,
                                          [](int, int64_t f) { return static_cast<float>(f) / 3000.0f; }));
    auto decoder = openOrFail(path);
    ASSERT_TRUE(decoder);
    std::vector<float> got = readAll(*decoder, 3000);
    ASSERT_EQ(6000u, got.size());
    for (size_t f = 0; f < 3000; f += 999)
    {
        EXPECT_EQ(static_cast<float>(f) / 3000.0f, got[f * 2]);
        EXPECT_EQ(got[f * 2], got[f * 2 + 1]);
    }
}

TEST(SoundDecoderTest, SeekInOggAndModuleMatchesPlayingThrough)
{
    std::string ogg = MusicFixtures::tempPath("seek.ogg");
    std::string mod = MusicFixtures::tempPath("seek.mod");
    ASSERT_TRUE(MusicFixtures::writeTone(ogg, SF_FORMAT_OGG | SF_FORMAT_VORBIS, RATE, RATE * 2, {330.0, 660.0}, 0.5));
    ASSERT_TRUE(MusicFixtures::writeBytes(mod, MusicFixtures::moduleBytes()));
    for (const std::string& path : {ogg, mod})
    {
        auto through = openOrFail(path);
        ASSERT_TRUE(through);
        const size_t span = 256;
        std::vector<float> all = readAll(*through, 40000);
        ASSERT_EQ(80000u, all.size()) << path;
        // Inside a module row, on a row boundary (5760 frames a row), early.
        for (size_t target : {size_t(30011), size_t(11520), size_t(5000), size_t(3)})
        {
            auto seeking = openOrFail(path);
            ASSERT_TRUE(seeking->seek(target));
            std::vector<float> after = readAll(*seeking, span);
            ASSERT_EQ(span * 2, after.size());
            double worst = 0.0;
            double level = 0.0;
            for (size_t i = 0; i < after.size(); ++i)
            {
                worst = std::max(worst, std::fabs(double(after[i]) - all[target * 2 + i]));
                level = std::max(level, std::fabs(double(after[i])));
            }
            EXPECT_GT(level, 0.05) << path << " " << target << ": silence proves nothing";
            EXPECT_LT(worst, 1e-4) << path << " " << target;
        }
    }
}

TEST(SoundDecoderTest, BrokenFilesAreRefusedWithAReason)
{
    std::string garbage = MusicFixtures::tempPath("garbage.wav");
    std::vector<unsigned char> noise(5000);
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<unsigned char>((i * 7919u + 13u) >> 3);
    ASSERT_TRUE(MusicFixtures::writeBytes(garbage, noise));
    std::string error;
    EXPECT_FALSE(MusicDecoder::open(garbage, error));
    EXPECT_NE(std::string::npos, error.find("garbage.wav")) << error;

    std::string empty = MusicFixtures::tempPath("empty.ogg");
    ASSERT_TRUE(MusicFixtures::writeBytes(empty, {}));
    error.clear();
    EXPECT_FALSE(MusicDecoder::open(empty, error));
    EXPECT_FALSE(error.empty());

    // A module cut inside its pattern data.
    std::vector<unsigned char> module = MusicFixtures::moduleBytes();
    module.resize(1100);
    std::string cut = MusicFixtures::tempPath("cut.mod");
    ASSERT_TRUE(MusicFixtures::writeBytes(cut, module));
    error.clear();
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(cut, error);
    if (decoder)
    {
        // libopenmpt may accept a damaged module; it must still read safely.
        std::vector<float> out(4096 * 2);
        EXPECT_LE(decoder->read(out.data(), 4096), 4096u);
    }
    else
    {
        EXPECT_FALSE(error.empty());
    }
}

TEST(SoundDecoderTest, TruncatedWavReadsWhatIsThere)
{
    std::string whole = MusicFixtures::tempPath("whole.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(whole, SF_FORMAT_WAV | SF_FORMAT_PCM_16, RATE, 2, 10000,
                                          [](int, int64_t) { return 0.25f; }));
    std::FILE* in = std::fopen(whole.c_str(), "rb");
    ASSERT_TRUE(in);
    std::vector<unsigned char> bytes(40044);
    size_t size = std::fread(bytes.data(), 1, bytes.size(), in);
    std::fclose(in);
    ASSERT_EQ(44u + 40000u, size);
    bytes.resize(44 + 4000 + 2);  // 1000 frames and half a sample
    std::string cut = MusicFixtures::tempPath("cut.wav");
    ASSERT_TRUE(MusicFixtures::writeBytes(cut, bytes));

    std::string error;
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(cut, error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_LE(decoder->getLengthFrames(), 1001u);
    std::vector<float> out(20000 * 2);
    size_t got = decoder->read(out.data(), 20000);
    EXPECT_GE(got, 1000u);
    EXPECT_LE(got, 1001u);
    EXPECT_FLOAT_EQ(0.25f, out[0]);
}
