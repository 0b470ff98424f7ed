#include "tests/support/ByteImage.h"
#include "tests/support/TempDir.h"
#include "tools/mrvtrack/MrvtrackCommand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

namespace
{
// Every file of a directory by name.
std::map<std::string, std::string> snapshot(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
    {
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

struct Result
{
    int status;
    std::string out;
    std::string err;
};

Result run(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = MrvtrackCommand::run(args, out, err);
    return {status, out.str(), err.str()};
}

const char* const EXAMPLE = R"(# two effects
rowrate 20

object blur1
priority 2
on 16 32 blurbuffer          # into a framebuffer
on 0:05:000 0:07:500         # rows 100 to 150, on the screen
start 400
track alpha
  0         linear   0
  10        cos-out  1
  0:01:000  step     0.5
  30        ramp     -2.75
track "zoom factor"

object fade
track level
  0 cos-in 0.25
)";

class MrvtrackRoundTripTest : public ::testing::Test
{
protected:
    std::string compileDump(const std::string& from, const std::string& to)
    {
        const Result dumped = run({"dump", from});
        EXPECT_EQ(dumped.status, 0) << dumped.err;
        EXPECT_EQ(dumped.err, "");
        const std::string timeline = dir.write(to + ".txt", dumped.out);
        const Result compiled = run({"compile", timeline, "-o", dir.path() + to});
        EXPECT_EQ(compiled.status, 0) << compiled.err;
        return dumped.out;
    }

    testsupport::TempDir dir;
};
}

TEST_F(MrvtrackRoundTripTest, CompileDumpCompileIsByteIdentical)
{
    const std::string timeline = dir.write("example.txt", EXAMPLE);
    const Result first = run({"compile", timeline, "-o", dir.path() + "first"});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "mrvtrack: wrote 4 track files to '" + dir.path() + "first'\n");

    const std::map<std::string, std::string> files = snapshot(dir.path() + "first");
    ASSERT_EQ(files.size(), 4u);
    EXPECT_EQ(files.at("blur1.track"), ByteImage()
                                           .i32(2)
                                           .i32(5)
                                           .i32(16).i32(1).name("blurbuffer")
                                           .i32(32).i32(0)
                                           .i32(100).i32(1).name("")
                                           .i32(150).i32(0)
                                           .i32(400).i32(1).name("")
                                           .data);
    EXPECT_EQ(files.at("blur1.zoom factor.track"), ByteImage().i32(0).data);
    EXPECT_EQ(files.at("fade.level.track"), ByteImage().i32(1).i32(0).i32(2).bits(0x3e800000u).data);

    compileDump(dir.path() + "first", "second");
    EXPECT_EQ(snapshot(dir.path() + "second"), files);
}

TEST_F(MrvtrackRoundTripTest, DumpLayout)
{
    const std::string timeline = dir.write("example.txt", EXAMPLE);
    ASSERT_EQ(run({"compile", "-o", dir.path() + "out", timeline}).status, 0) << "-o may come first";
    EXPECT_EQ(run({"dump", dir.path() + "out"}).out, "# Track timeline written by mrvtrack dump; times are rows.\n"
                                                     "\n"
                                                     "object blur1\n"
                                                     "priority 2\n"
                                                     "on 16 32 blurbuffer\n"
                                                     "on 100 150\n"
                                                     "start 400\n"
                                                     "track alpha\n"
                                                     "  0 linear 0\n"
                                                     "  10 cos-out 1\n"
                                                     "  20 step 0.5\n"
                                                     "  30 ramp -2.75\n"
                                                     "track \"zoom factor\"\n"
                                                     "\n"
                                                     "object fade\n"
                                                     "track level\n"
                                                     "  0 cos-in 0.25\n");
}

TEST_F(MrvtrackRoundTripTest, HandMadeFilesSurviveDumpAndCompile)
{
    const std::string in = dir.path() + "in/";
    std::filesystem::create_directories(in);
    std::ofstream(in + "odd.track", std::ios::binary)
        << ByteImage()
               .i32(-2147483647 - 1)
               .i32(6)
               .i32(0).i32(1).name("Object")
               .i32(1).i32(0)
               .i32(5).i32(1).name("with \"quotes\" and \\ #hash")
               .i32(6).i32(0)
               .i32(7).i32(1).name("tab\there\x7f\xc3\xa9")
               .bits(0xffffffffu).i32(0)
               .data;
    std::ofstream(in + "odd.values.v2.track", std::ios::binary)
        << ByteImage()
               .i32(6)
               .i32(0).i32(-7).bits(0x7fc00001u)  // a NaN with a payload
               .i32(1).i32(99).bits(0x80000000u)  // -0
               .i32(2).i32(2).bits(0x7f800000u)   // inf
               .i32(3).i32(3).bits(0x00000001u)   // the smallest subnormal
               .i32(4).i32(4).bits(0x3dcccccdu)   // 0.1f
               .bits(0xfffffffeu).i32(1).bits(0xff7fffffu)
               .data;
    std::ofstream(in + "quiet.track", std::ios::binary) << ByteImage().i32(5).i32(0).data;
    std::ofstream(in + "tracksonly.x.track", std::ios::binary) << ByteImage().i32(0).data;
    std::ofstream(in + "not-a-track.txt") << "ignored";

    const std::string text = compileDump(in, "out");
    std::map<std::string, std::string> expected = snapshot(in);
    expected.erase("not-a-track.txt");
    EXPECT_EQ(snapshot(dir.path() + "out"), expected) << text;
}

TEST_F(MrvtrackRoundTripTest, TimesConvertAtTheGivenRowRate)
{
    // Bars and beats at ten rows a beat, three beats a bar: 1|1 is row 0,
    // 1|1|1 row 1, 100|3 row (99 * 3 + 2) * 10 = 2990.
    const std::string timeline = dir.write("t.txt", "rowrate 25\n"
                                                    "beat 10 3\n"
                                                    "object fx\n"
                                                    "on 0:00:039 1:02:040\n"
                                                    "track a\n"
                                                    "1|1 linear 1\n"
                                                    "1|1|1 linear 2\n"
                                                    "100|3 linear 3\n");
    ASSERT_EQ(run({"compile", timeline, "-o", dir.path() + "out"}).status, 0);
    const auto files = snapshot(dir.path() + "out");
    // 39 ms is row 0 (0.975 rounded down); 62040 ms is row 1551.
    EXPECT_EQ(files.at("fx.track"), ByteImage().i32(0).i32(2).i32(0).i32(1).name("").i32(1551).i32(0).data);
    EXPECT_EQ(files.at("fx.a.track"), ByteImage()
                                          .i32(3)
                                          .i32(0).i32(0).bits(0x3f800000u)
                                          .i32(1).i32(0).bits(0x40000000u)
                                          .i32(2990).i32(0).bits(0x40400000u)
                                          .data);
}

TEST_F(MrvtrackRoundTripTest, DumpWarnsWhenItIsNoFaithfulCopy)
{
    const std::string in = dir.path() + "in/";
    std::filesystem::create_directories(in);
    std::ofstream(in + "cut.a.track", std::ios::binary) << ByteImage().i32(3).i32(0).i32(0).data;
    std::ofstream(in + "twice.a.track", std::ios::binary)
        << ByteImage().i32(2).i32(4).i32(0).i32(0).i32(4).i32(0).i32(0).data;
    std::ofstream(in + "typed.track", std::ios::binary) << ByteImage().i32(0).i32(2).i32(0).i32(1).name("").i32(3).i32(7).data;
    std::ofstream(in + ".hidden.track", std::ios::binary) << ByteImage().i32(0).data;

    const Result dumped = run({"dump", in});
    EXPECT_EQ(dumped.status, 1);
    EXPECT_NE(dumped.err.find("mrvtrack: warning: '" + in + "/cut.a.track' is truncated or corrupt"), std::string::npos)
        << dumped.err;
    EXPECT_NE(dumped.err.find("'" + in + "/twice.a.track' holds more than its keyframes"), std::string::npos);
    EXPECT_NE(dumped.err.find("object 'typed': the keyframe at row 3 has type 7"), std::string::npos);
    EXPECT_NE(dumped.err.find("'" + in + "/.hidden.track' names no object and track; left out"), std::string::npos);
    EXPECT_EQ(dumped.out.find("hidden"), std::string::npos);
    EXPECT_NE(dumped.out.find("object cut\ntrack a\n"), std::string::npos) << dumped.out;
    EXPECT_NE(dumped.out.find("object typed\npriority 0\nstart 0\n"), std::string::npos);
}

TEST_F(MrvtrackRoundTripTest, UsageAndMissingInputs)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"compile", "t.txt"}, {"compile", "t.txt", "-x", "d"}, {"dump"}, {"list", "d"}})
    {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, MrvtrackCommand::usage());
    }
    const Result noTimeline = run({"compile", dir.path() + "none.txt", "-o", dir.path() + "out"});
    EXPECT_EQ(noTimeline.status, 1);
    EXPECT_EQ(noTimeline.err, "mrvtrack: cannot read timeline '" + dir.path() + "none.txt'\n");
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "out"));

    const Result noDir = run({"dump", dir.path() + "none"});
    EXPECT_EQ(noDir.status, 1);
    EXPECT_EQ(noDir.err.find("mrvtrack: Cannot list track directory '" + dir.path() + "none'"), 0u) << noDir.err;

    const std::string timeline = dir.write("t.txt", "object fx\npriority 1\n");
    dir.write("file", "x");
    const Result blocked = run({"compile", timeline, "-o", dir.path() + "file"});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_EQ(blocked.err, "mrvtrack: cannot create directory '" + dir.path() + "file'\n");
}
