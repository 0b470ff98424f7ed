#include "fuzz/FuzzSeeds.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>

// Replays, without libFuzzer, what the fuzz targets found and what they start
// from: every input kept in tests/fuzz_regressions/<target>/ must run through
// its harness without a sanitizer report or a broken round trip (the ASan
// build checks the first), and every seed must still be a valid file, so the
// corpora do not fall behind the formats.

namespace mrvfuzz
{
// Names the target in failure messages instead of dumping its bytes.
void PrintTo(const Target& target, std::ostream* out)
{
    *out << target.name;
}
}

namespace
{

using mrvfuzz::Outcome;
using mrvfuzz::Target;

const std::string regressionRoot = MRV_FUZZ_REGRESSIONS;

Outcome runQuietly(const Target& target, const mrvfuzz::Bytes& bytes)
{
    std::unique_ptr<mrvfuzz::ScriptWorld> world(target.needsScriptWorld ? new mrvfuzz::ScriptWorld() : nullptr);
    StdoutCapture capture;
    return target.run(bytes.data(), bytes.size());
}

const Target& findTarget(const std::string& name)
{
    for (const Target& target : mrvfuzz::targets())
        if (name == target.name)
            return target;
    throw std::invalid_argument("no fuzz target " + name);
}

std::string targetName(const ::testing::TestParamInfo<Target>& info)
{
    return info.param.name;
}

class FuzzTargetTest : public ::testing::TestWithParam<Target>
{
};

TEST_P(FuzzTargetTest, EverySeedIsAValidFileThatKeepsItsRoundTrip)
{
    const std::vector<mrvfuzz::Seed> seeds = GetParam().seeds();
    ASSERT_FALSE(seeds.empty());
    for (const mrvfuzz::Seed& seed : seeds)
    {
        SCOPED_TRACE(seed.name);
        ASSERT_FALSE(seed.bytes.empty());
        const Outcome outcome = runQuietly(GetParam(), seed.bytes);
        EXPECT_TRUE(outcome.accepted);
        EXPECT_EQ(outcome.broken, "");
    }
}

TEST_P(FuzzTargetTest, KeptFindingsRunCleanly)
{
    const std::string dir = regressionRoot + "/" + GetParam().name;
    if (!std::filesystem::is_directory(dir))
        GTEST_SKIP() << "no findings kept for " << GetParam().name;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
    {
        SCOPED_TRACE(entry.path().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const mrvfuzz::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(runQuietly(GetParam(), bytes).broken, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzTargetTest, ::testing::ValuesIn(mrvfuzz::targets()), targetName);

// A folder named after no target would never be replayed.
TEST(FuzzRegressionFolders, EachNamesATarget)
{
    std::set<std::string> names;
    for (const Target& target : mrvfuzz::targets())
        names.insert(target.name);
    for (const auto& entry : std::filesystem::directory_iterator(regressionRoot))
        EXPECT_TRUE(names.count(entry.path().filename().string())) << entry.path();
}

// The out-of-order case the track fuzzer found, spelled out: the player
// takes the records in any order, but a dump must not promise that compiling
// it gives the file back.
TEST(FuzzTrackFileHarness, RecordsOutOfRowOrderAreLoadedButNotPromisedBack)
{
    TrackInterpolate track(mrvfuzz::kTrackName);
    track.addKeyframe(new TrackKeyFrameInterpolate(5, 0, 1.0f));
    track.addKeyframe(new TrackKeyFrameInterpolate(9, 0, 2.0f));
    const mrvfuzz::Bytes sorted = mrvfuzz::savedTrackFiles(nullptr, &track);
    // Header of three bytes, the count, then two 12-byte records: swap them.
    ASSERT_EQ(sorted.size(), 3u + 4u + 24u);
    mrvfuzz::Bytes swapped(sorted.begin(), sorted.begin() + 7);
    swapped.insert(swapped.end(), sorted.begin() + 19, sorted.end());
    swapped.insert(swapped.end(), sorted.begin() + 7, sorted.begin() + 19);

    const Target& target = findTarget("trackfile");
    for (const mrvfuzz::Bytes* input : std::initializer_list<const mrvfuzz::Bytes*>{ &sorted, &swapped })
    {
        const Outcome outcome = runQuietly(target, *input);
        EXPECT_TRUE(outcome.accepted);
        EXPECT_EQ(outcome.broken, "");
    }

    const std::string dir = mrvfuzz::scratchDir() + "tracks";
    TrackDirectoryReader reader(dir);
    std::unique_ptr<TrackSystem> system(reader.read());
    ASSERT_TRUE(system);
    EXPECT_EQ(system->getTrackGroupByName(mrvfuzz::kTrackObject)->getInterpolateTrack(0)->getKeyframeCount(), 2);
    ASSERT_EQ(reader.getWarnings().size(), 1u);
    EXPECT_NE(reader.getWarnings()[0].find("rows out of order"), std::string::npos);
}

// Start/stop records vary in length: the order check has to step over each
// start's target name to find the next row.
TEST(FuzzTrackFileHarness, StartStopRecordsOutOfRowOrderAreNotPromisedBack)
{
    TrackStartStop track(1);
    track.addKeyframe(mrvfuzz::startKeyframe(3, "fbo"));
    track.addKeyframe(new TrackStartStopKeyFrame(4, TrackKeyFrame::STOP));
    track.addKeyframe(mrvfuzz::startKeyframe(7, ""));
    const mrvfuzz::Bytes sorted = mrvfuzz::savedTrackFiles(&track, nullptr);
    // Flags and length (3), priority and count (8), then start 3 "fbo" (12),
    // stop 4 (8) and start 7 "" (9).
    ASSERT_EQ(sorted.size(), 3u + 8u + 12u + 8u + 9u);
    mrvfuzz::Bytes swapped(sorted.begin(), sorted.begin() + 23);
    swapped.insert(swapped.end(), sorted.begin() + 31, sorted.end());
    swapped.insert(swapped.end(), sorted.begin() + 23, sorted.begin() + 31);

    const Target& target = findTarget("trackfile");
    const std::string dir = mrvfuzz::scratchDir() + "tracks";
    for (const mrvfuzz::Bytes* input : std::initializer_list<const mrvfuzz::Bytes*>{ &sorted, &swapped })
    {
        const Outcome outcome = runQuietly(target, *input);
        EXPECT_TRUE(outcome.accepted);
        EXPECT_EQ(outcome.broken, "");
        TrackDirectoryReader reader(dir);
        std::unique_ptr<TrackSystem> system(reader.read());
        ASSERT_TRUE(system);
        EXPECT_EQ(system->getTrackGroupByName(mrvfuzz::kTrackObject)->getStartStopTrack()->getKeyframeCount(), 3);
        EXPECT_EQ(reader.getWarnings().size(), input == &sorted ? 0u : 1u);
    }
}

// A chunk as the format lays it out: length, type, data, CRC.
void insertChunk(mrvfuzz::Bytes& png, size_t at, const char type[4], const std::string& data)
{
    mrvfuzz::Bytes chunk(8 + data.size() + 4, 0);
    const uint32_t length = static_cast<uint32_t>(data.size());
    for (int b = 0; b < 4; ++b)
        chunk[b] = static_cast<unsigned char>(length >> (24 - 8 * b));
    std::copy(type, type + 4, chunk.begin() + 4);
    std::copy(data.begin(), data.end(), chunk.begin() + 8);
    png.insert(png.begin() + static_cast<long>(at), chunk.begin(), chunk.end());
    pngtest::updateChunkCrc(png, at);
}

long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The PNG fuzzer's find: 46 bytes whose second chunk claims to be a 2 GB tEXt
// made libpng allocate and zero that much before finding the file short.
TEST(FuzzPngFinding, ChunkClaimingGigabytesCostsNothing)
{
    std::ifstream in(regressionRoot + "/png/huge-text-chunk", std::ios::binary);
    const mrvfuzz::Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 46u);
    const long before = peakRssKb();
    Image image("huge-text", 0);
    EXPECT_FALSE(image.putData(bytes.data(), static_cast<int>(bytes.size())));
    EXPECT_LT(peakRssKb() - before, 256L * 1024);

    // The same claim from every chunk libpng reads into a buffer of its own.
    const mrvfuzz::Bytes header(bytes.begin(), bytes.begin() + 33);
    for (const char* type : { "tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "eXIf", "pCAL", "sCAL" })
    {
        SCOPED_TRACE(type);
        mrvfuzz::Bytes png = header;
        const unsigned char claim[8] = { 0x7f, 0xf0, 0x00, 0x00, static_cast<unsigned char>(type[0]),
                                         static_cast<unsigned char>(type[1]), static_cast<unsigned char>(type[2]),
                                         static_cast<unsigned char>(type[3]) };
        png.insert(png.end(), claim, claim + 8);
        png.insert(png.end(), 16, 'x');
        EXPECT_FALSE(image.putData(png.data(), static_cast<int>(png.size())));
        EXPECT_LT(peakRssKb() - before, 256L * 1024);
    }
}

// Skipping the chunks the decoder has no use for changes no pixel, and tRNS,
// the one it uses, still makes a palette picture transparent.
TEST(FuzzPngFinding, AncillaryChunksAreSkippedWithoutChangingPixels)
{
    pngtest::Picture picture = pngtest::makePicture(3, 2, pngtest::ColorType::Palette, { 0, 1, 2, 2, 1, 0 });
    picture.palette = { 10, 20, 30, 40, 50, 60, 70, 80, 90 };
    picture.paletteAlpha = { 0, 128 };
    const mrvfuzz::Bytes plain = pngtest::encodePng(picture);
    ASSERT_FALSE(plain.empty());
    mrvfuzz::Bytes decorated = plain;
    const size_t afterHeader = 8 + 25;
    insertChunk(decorated, afterHeader, "gAMA", std::string("\x00\x00\xb1\x8f", 4));
    insertChunk(decorated, afterHeader, "tEXt", std::string("Comment\0made by the fuzz tests", 30));
    insertChunk(decorated, afterHeader, "zTXt", std::string("Broken\0\0not deflate at all", 26));
    insertChunk(decorated, pngtest::findChunk(decorated, "IEND"), "tIME", std::string(7, '\x01'));

    Image expected("plain", 0);
    Image actual("decorated", 0);
    ASSERT_TRUE(expected.putData(plain.data(), static_cast<int>(plain.size())));
    ASSERT_TRUE(actual.putData(decorated.data(), static_cast<int>(decorated.size())));
    ASSERT_EQ(actual.getBpp(), 32);
    ASSERT_EQ(expected.getBpp(), 32);
    const mrvfuzz::Bytes a(actual.getData(), actual.getData() + 3 * 2 * 4);
    const mrvfuzz::Bytes e(expected.getData(), expected.getData() + 3 * 2 * 4);
    EXPECT_EQ(a, e);
    // Bottom row first: index 2 of the bottom row is opaque, index 0 clear.
    EXPECT_EQ(a[3], 0xff);
    EXPECT_EQ(a[4 * 2 + 3], 0);
}

} // namespace
