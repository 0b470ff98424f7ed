#include "demosys/sound/MusicDecoder.h"
#include "tests/support/MusicFixtures.h"
#include "tools/mrvsynth/MrvsynthCommand.h"
#include "tools/mrvsynth/OggWriter.h"
#include "tools/mrvsynth/ScoreParser.h"
#include "tools/mrvsynth/SongRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace
{
const char* const SHORT_SCORE = "tempo 150\n"
                                "track kick kick\ntrack bass bass\ntrack pad pad\n  reverb 0.4\n"
                                "pattern four\n  x . . . x . . . x . . . x . . .\n"
                                "pattern line\n  A1 . A2 . A1 . A2 . F1 . F2 . G1 . G2 .\n"
                                "pattern chord\n  A3+C4+E4:16\n"
                                "section s 2\n  kick four\n  bass line\n  pad chord\nsong s\n";

std::vector<float> renderShort(Score& score)
{
    ScoreParser parser("short.score");
    EXPECT_TRUE(parser.parse(SHORT_SCORE, score)) << parser.getError();
    return SongRenderer(score).renderInterleaved();
}

std::string writeText(const std::string& name, const std::string& text)
{
    const std::string path = MusicFixtures::tempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Beside this test in the source tree.
std::string productionMusic(const std::string& name)
{
    return (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "resources" / "music" / name).string();
}
}

TEST(MrvsynthOggTest, EngineDecoderReadsTheRenderedFile)
{
    Score score;
    const std::vector<float> samples = renderShort(score);
    const uint64_t frames = score.lengthSamples();
    ASSERT_EQ(samples.size(), 2 * frames);
    ASSERT_EQ(frames, 2u * 16u * 4410u);

    const std::string path = MusicFixtures::tempPath("synth.ogg");
    std::string error;
    ASSERT_TRUE(OggWriter::write(path, samples, Score::SAMPLE_RATE, 0.4, error)) << error;
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(path, error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_EQ(decoder->getSampleRate(), Score::SAMPLE_RATE);
    EXPECT_EQ(decoder->getLengthFrames(), frames);

    std::vector<float> decoded(2 * frames + 2048);
    size_t got = 0;
    while (size_t n = decoder->read(decoded.data() + 2 * got, (decoded.size() / 2) - got))
        got += n;
    ASSERT_EQ(got, frames);

    // Lossy, but the same music: the difference is small against the signal.
    double signal = 0.0;
    double difference = 0.0;
    for (size_t i = 0; i < 2 * frames; ++i)
    {
        signal += static_cast<double>(samples[i]) * samples[i];
        difference += std::pow(static_cast<double>(samples[i]) - decoded[i], 2.0);
        ASSERT_LE(std::fabs(decoded[i]), 1.0f) << i;
    }
    EXPECT_GT(signal, 100.0);
    EXPECT_LT(difference, 0.05 * signal);
}

TEST(MrvsynthOggTest, SameSamplesGiveTheSameBytes)
{
    Score score;
    const std::vector<float> samples = renderShort(score);
    std::vector<unsigned char> first;
    std::vector<unsigned char> second;
    std::string error;
    ASSERT_TRUE(OggWriter::encode(samples, Score::SAMPLE_RATE, 0.4, first, error)) << error;
    ASSERT_TRUE(OggWriter::encode(samples, Score::SAMPLE_RATE, 0.4, second, error)) << error;
    EXPECT_TRUE(first == second);

    // Every page carries the fixed serial and a checksum that matches.
    size_t pages = 0;
    for (size_t at = 0; at + 27 <= first.size(); ++pages)
    {
        ASSERT_EQ(std::string(first.begin() + at, first.begin() + at + 4), "OggS");
        const uint32_t serial = first[at + 14] | first[at + 15] << 8 | first[at + 16] << 16 |
                                static_cast<uint32_t>(first[at + 17]) << 24;
        EXPECT_EQ(serial, OggWriter::SERIAL);
        size_t size = 27 + first[at + 26];
        for (size_t s = 0; s < first[at + 26]; ++s)
            size += first[at + 27 + s];
        const uint32_t stored = first[at + 22] | first[at + 23] << 8 | first[at + 24] << 16 |
                                static_cast<uint32_t>(first[at + 25]) << 24;
        EXPECT_EQ(stored, OggWriter::pageChecksum(first.data() + at, size));
        at += size;
    }
    EXPECT_GE(pages, 3u);
}

TEST(MrvsynthOggTest, PageChecksumAndSerialPinning)
{
    // Ogg's CRC: polynomial 0x04C11DB7, initial value 0, no reflection and
    // no final inversion.
    const std::string check = "123456789";
    EXPECT_EQ(OggWriter::pageChecksum(reinterpret_cast<const unsigned char*>(check.data()), check.size()),
              0x89A1897Fu);

    std::vector<unsigned char> notOgg(100, 'x');
    EXPECT_FALSE(OggWriter::pinSerial(notOgg, 1));
    std::vector<unsigned char> page(27, 0);
    page[0] = 'O';
    page[1] = 'g';
    page[2] = 'g';
    page[3] = 'S';
    page[26] = 1;  // one segment, but its length byte is missing
    EXPECT_FALSE(OggWriter::pinSerial(page, 1));
    page.push_back(4);  // a segment of 4 bytes, of which none are there
    EXPECT_FALSE(OggWriter::pinSerial(page, 1));
    page.resize(page.size() + 4, 7);
    EXPECT_TRUE(OggWriter::pinSerial(page, 0x01020304u));
    EXPECT_EQ(page[14], 4);
    EXPECT_EQ(page[17], 1);
}

TEST(MrvsynthOggTest, CommandRendersReportsAndRefuses)
{
    const std::string score = writeText("cmd.score", SHORT_SCORE);
    const std::string ogg = MusicFixtures::tempPath("cmd.ogg");
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(MrvsynthCommand::run({"render", score, "-o", ogg}, out, err), 0) << err.str();
    EXPECT_NE(out.str().find("mrvsynth: wrote '" + ogg + "' (0:03.200, 141120 frames at 44100 Hz) in "),
              std::string::npos)
        << out.str();
    EXPECT_TRUE(std::filesystem::exists(ogg));

    out.str("");
    EXPECT_EQ(MrvsynthCommand::run({"info", score}, out, err), 0);
    EXPECT_NE(out.str().find("150 BPM, 4 beats of 4 steps a bar, 8 rows a beat at 20 rows per second\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("pattern chord: 16 steps (1 bar)\n0:00.000  row 0  bar 1  s (2 bars)\n"
                             "0:03.200  row 64  end\n"),
              std::string::npos)
        << out.str();

    const std::string broken = writeText("broken.score", "tempo 120\npattern p\n  x y\n");
    err.str("");
    EXPECT_EQ(MrvsynthCommand::run({"render", broken, "-o", ogg}, out, err), 1);
    EXPECT_EQ(err.str().rfind(broken + ":3: expected a step", 0), 0u) << err.str();

    err.str("");
    EXPECT_EQ(MrvsynthCommand::run({"render", score, "-o", MusicFixtures::tempPath("no/such/dir/x.ogg")}, out, err),
              1);
    EXPECT_NE(err.str().find("mrvsynth: cannot write"), std::string::npos) << err.str();

    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {}, {"render", score}, {"render", score, "-x", ogg}, {"render", score, "-o", ogg, "-q", "2"},
             {"render", score, "-o", ogg, "-q", "high"}, {"play", score}})
    {
        err.str("");
        EXPECT_EQ(MrvsynthCommand::run(wrong, out, err), 2);
        EXPECT_EQ(err.str(), MrvsynthCommand::usage());
    }
}

TEST(MrvsynthOggTest, ProductionMusicMatchesItsScore)
{
    ScoreParser parser(productionMusic("kelvarn.score"));
    Score score;
    ASSERT_TRUE(parser.parseFile(score)) << parser.getError();
    EXPECT_NEAR(score.lengthSeconds(), 150.0, 15.0);
    EXPECT_EQ(60 * score.rowRate % score.tempo, 0);

    std::string error;
    std::unique_ptr<MusicDecoder> decoder = MusicDecoder::open(productionMusic("kelvarn.ogg"), error);
    ASSERT_TRUE(decoder) << error;
    EXPECT_EQ(decoder->getSampleRate(), Score::SAMPLE_RATE);
    // Rendered from this score: a stale file would differ in length.
    EXPECT_EQ(decoder->getLengthFrames(), score.lengthSamples());
    EXPECT_LT(std::filesystem::file_size(productionMusic("kelvarn.ogg")), 4u * 1024u * 1024u);
}
