#include "demosys/timeline/TrackSystem.h"
#include "tools/mrvtrack/MrvtrackCommand.h"
#include "demosys/timeline/TimelineParser.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

namespace
{
// The error a timeline text gives, "" when it parses.
std::string errorOf(const std::string& text)
{
    TimelineParser parser("show.txt");
    std::unique_ptr<TrackSystem> system(parser.parse(text));
    EXPECT_EQ(system == nullptr, !parser.isValid());
    return parser.getErrorMessage();
}

struct Case
{
    const char* text;
    const char* error;
};
}

TEST(MrvtrackErrorTest, SyntaxErrorsNameLineAndExpectation)
{
    const Case cases[] = {
        {"priority 1\n", "show.txt:1: expected 'object NAME' before 'priority'\n"},
        {"\n\nobject fx\nblah 3\n",
         "show.txt:4: expected a statement (rowrate, beat, object, priority, on, start, stop, track) or a keyframe "
         "'TIME CURVE VALUE', found 'blah'\n"},
        {"object\n", "show.txt:1: expected 'object NAME'\n"},
        {"object fx extra\n", "show.txt:1: expected the end of the line after 'object NAME', found 'extra'\n"},
        {"object \"fx\n", "show.txt:1: expected a closing '\"'\n"},
        {"object \"a\\q\"\n", "show.txt:1: expected an escape \\\", \\\\ or \\xHH in a quoted name\n"},
        {"object a\"b\"\n", "show.txt:1: expected a space before '\"'\n"},
        {"object fx\non 10\n", "show.txt:2: expected 'on FROM TO [TARGET]'\n"},
        {"object fx\non 10 x\n",
         "show.txt:2: expected a row from 0 to 4294967295 or a time 'minutes:seconds:milliseconds', found 'x'\n"},
        {"object fx\non 10 4294967296\n",
         "show.txt:2: expected a row from 0 to 4294967295 or a time 'minutes:seconds:milliseconds', found "
         "'4294967296'\n"},
        {"object fx\nstart 1:2\n",
         "show.txt:2: expected a time 'minutes:seconds:milliseconds' of three whole numbers, found '1:2'\n"},
        {"object fx\nstart 1:-2:0\n",
         "show.txt:2: expected a time 'minutes:seconds:milliseconds' of three whole numbers, found '1:-2:0'\n"},
        {"rowrate 1000\nobject fx\nstart 72000:00:000\n",
         "show.txt:3: expected a time up to row 4294967295, found '72000:00:000' (row 4320000000)\n"},
        {"object fx\non 20 10\n", "show.txt:2: expected the stop after the start in 'on FROM TO', found row 20 to row 10\n"},
        {"object fx\non 20 20\n", "show.txt:2: expected the stop after the start in 'on FROM TO', found row 20 to row 20\n"},
        {"object fx\nstop 5 6\n", "show.txt:2: expected the end of the line after 'stop AT', found '6'\n"},
        {"object fx\non 1|1 2|1\n",
         "show.txt:2: expected a beat length ('beat ROWS_PER_BEAT [BEATS_PER_BAR]' before the first object) for the "
         "time '1|1'\n"},
        {"beat 10\nobject fx\non 1|5 2|1\n",
         "show.txt:3: expected a time 'BAR|BEAT' or 'BAR|BEAT|ROW' (bar from 1, beat from 1 to 4, row from 0 to 9), "
         "found '1|5'\n"},
        {"beat 10 4\nobject fx\non 0|1 2|1\n",
         "show.txt:3: expected a time 'BAR|BEAT' or 'BAR|BEAT|ROW' (bar from 1, beat from 1 to 4, row from 0 to 9), "
         "found '0|1'\n"},
        {"object fx\nbeat 10\n", "show.txt:2: expected beat before the first object\n"},
        {"beat 10 4 2\n", "show.txt:1: expected the end of the line after 'beat ROWS_PER_BEAT [BEATS_PER_BAR]', found '2'\n"},
        {"beat 0\n", "show.txt:1: expected rows per beat from 1 to 100000, found '0'\n"},
        {"object fx\npriority high\n",
         "show.txt:2: expected a priority from -2147483648 to 2147483647, found 'high'\n"},
        {"object fx\npriority 2147483648\n",
         "show.txt:2: expected a priority from -2147483648 to 2147483647, found '2147483648'\n"},
        {"object fx\npriority 1\npriority 2\n",
         "show.txt:3: expected one priority per object; this object's is on line 2\n"},
        {"object fx\n10 linear 1\n", "show.txt:2: expected 'track NAME' before the keyframe '10 ...'\n"},
        {"object fx\ntrack a\n10 wobble 1\n",
         "show.txt:3: expected a curve (linear, cos-out, cos-in, step, ramp or a whole number), found 'wobble'\n"},
        {"object fx\ntrack a\n10 linear one\n",
         "show.txt:3: expected a value (a decimal number, inf, -inf, nan or nan:HHHHHHHH), found 'one'\n"},
        {"object fx\ntrack a\n10 linear 0x10\n",
         "show.txt:3: expected a value (a decimal number, inf, -inf, nan or nan:HHHHHHHH), found '0x10'\n"},
        {"object fx\ntrack a\n10 linear 1e99\n", "show.txt:3: expected a value within the float range, found '1e99'\n"},
        {"object fx\ntrack a\n10 linear nan:3f800000\n",
         "show.txt:3: expected the bits of a NaN after 'nan:', found 'nan:3f800000'\n"},
        {"object fx\ntrack a\n10 linear\n", "show.txt:3: expected 'TIME CURVE VALUE'\n"},
        {"object fx\ntrack a\non 1 2\n5 linear 1\n", "show.txt:4: expected 'track NAME' before the keyframe '5 ...'\n"},
        {"rowrate 0\n", "show.txt:1: expected a row rate from 1 to 1000 rows per second, found '0'\n"},
        {"rowrate 20\nrowrate 25\n", "show.txt:2: expected one rowrate line; the first is on line 1\n"},
        {"object fx\nrowrate 25\n", "show.txt:2: expected rowrate before the first object\n"},
        {"\"on\" 1 2\n",
         "show.txt:1: expected a statement (rowrate, beat, object, priority, on, start, stop, track) or a keyframe "
         "'TIME CURVE VALUE', found 'on'\n"},
        {"object fx\nstart \"5\"\n", "show.txt:2: expected a row or a time, found a quoted name\n"},
        {"object fx\x01\n", "show.txt:1: expected printable text; write control bytes in a quoted name as \\xHH\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.text), c.error) << c.text;
}

TEST(MrvtrackErrorTest, NamesThatCannotBecomeFileNames)
{
    const Case cases[] = {
        {"object \"\"\n", "show.txt:1: expected an object name, found an empty name\n"},
        {"object a.b\n", "show.txt:1: expected an object name without '.', found 'a.b' (the dot separates object and "
                         "track in file names)\n"},
        {"object ../x\n", "show.txt:1: expected an object name without '/', found '../x'\n"},
        {"object fx\ntrack sub/dir\n", "show.txt:2: expected a track name without '/', found 'sub/dir'\n"},
        {"object fx\ntrack \"a\\x00b\"\n", "show.txt:2: expected a track name without a zero byte\n"},
        {"object fx\nstart 1 \"\"\n", "show.txt:2: expected a target name, found an empty name\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.text), c.error) << c.text;
    EXPECT_EQ(errorOf("object fx\ntrack a.b.c\nstart 1 \"dotted.target/x\"\n"), "") << "dots are fine in track and target names";
}

TEST(MrvtrackErrorTest, DataThePlayerWouldLoseOrRefuse)
{
    const Case cases[] = {
        {"object fx\nobject fx\n", "show.txt:2: expected each object once; 'fx' is already defined on line 1\n"},
        {"object fx\ntrack a\ntrack a\n", "show.txt:3: expected each track once per object; 'a' is already defined on line 2\n"},
        {"object fx\ntrack a\n1 linear 0\n0:00:050 step 1\n",
         "show.txt:4: expected each row once per track; row 1 of track 'a' is already used on line 3\n"},
        {"object fx\non 0 10\non 10 20\n",
         "show.txt:3: expected each row once among an object's start and stop keyframes; row 10 is already used on "
         "line 2\n"},
        {"object fx\non 0 10\n# overlap\non 5 20\n",
         "show.txt:4: expected a stop between the start at row 0 (line 2) and the start at row 5 of object 'fx'\n"},
        {"object fx\nstop 3\n",
         "show.txt:2: expected a start before the stop at row 3 of object 'fx'; its first keyframe is this stop\n"},
        {"object fx\non 0 4\nstop 9\nobject next\nbad\n",
         "show.txt:3: expected a start between the stop at row 4 and the stop at row 9 of object 'fx'\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.text), c.error) << c.text;

    EXPECT_EQ(errorOf("object fx\nstart 30\non 0 4\nstart 10\nstop 20\n"), "")
        << "order in the text is free; a trailing start is allowed";
}

TEST(MrvtrackErrorTest, CompileReportsTheFileAndWritesNothing)
{
    testsupport::TempDir dir;
    const std::string timeline = dir.write("show.txt", "object fx\non 0 10\ntrack a\n5 linear x\n");
    std::ostringstream out, err;
    EXPECT_EQ(MrvtrackCommand::run({"compile", timeline, "-o", dir.path() + "tracks"}, out, err), 1);
    EXPECT_EQ(err.str(), timeline + ":4: expected a value (a decimal number, inf, -inf, nan or nan:HHHHHHHH), found "
                                    "'x'\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "tracks"));
}

// compile --script: every name and the row rate checked against the
// demoscript before a file is written; a folder that holds exactly the
// timeline afterwards.
TEST(MrvtrackErrorTest, CompileAgainstTheDemoscriptChecksItsNamesAndLeavesNoStrayFile)
{
    testsupport::TempDir dir;
    const std::string script = dir.write("demo.txt",
                                         "{MRVDS1}\npaths { tracks = tracks; }\nsystem { rowrate = 20; rowsperbeat = 10; }\n"
                                         "framebuffers { buffer2 = 64, 64, COLOR_BUFFER; }\n"
                                         "blur1 * BlurEffect { ; }\nfade * FadeEffect { ; }\n");
    const std::string tracks = dir.path() + "tracks";
    const struct
    {
        const char* text;
        int status;
        const char* err;  // "" when there is none
    } cases[] = {
        { "object blur1\non 0 10 buffer2\nobject fade\ntrack alpha\n0 linear 1\n", 0, "" },
        { "object blur1\non 0 10\nobject blurr1\non 0 10\n", 1,
          ":3: object 'blurr1' is not an effect object of the demoscript\n" },
        { "object blur1\non 0 10 buffr2\n", 1,
          ":2: render target 'buffr2' of object 'blur1' is neither 'screen' nor a framebuffer of the demoscript\n" },
        { "object blur1\non 0 10 screen\n", 0, "" },
        { "rowrate 10\nobject blur1\non 0 10\n", 1, ":1: rowrate 10 differs from the demoscript's rowrate 20; "
                                                    "every time would land elsewhere\n" },
        { "beat 8\nobject blur1\non 1|1 1|2\n", 1, ":1: beat 8 4 differs from the demoscript's rowsperbeat 10 and "
                                                  "beatsperbar 4; every bar would land elsewhere\n" },
        { "beat 10\nobject blur1\non 1|1 1|2\n", 0, "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.text);
        const std::string timeline = dir.write("show.txt", c.text);
        std::ostringstream out, err;
        EXPECT_EQ(MrvtrackCommand::run({ "compile", timeline, "-o", tracks, "--script", script }, out, err), c.status);
        EXPECT_EQ(err.str(), *c.err ? timeline + c.err : "");
    }
    // The last good compile named blur1 only: fade's files went.
    EXPECT_TRUE(std::filesystem::exists(tracks + "/blur1.track"));
    EXPECT_FALSE(std::filesystem::exists(tracks + "/fade.alpha.track"));

    // Without --script nothing is checked, but the folder still holds exactly
    // the timeline; a file that is not a track file is the author's.
    dir.write("tracks/notes.txt", "mine");
    const std::string timeline = dir.write("show.txt", "object other\non 0 10\n");
    std::ostringstream out, err;
    EXPECT_EQ(MrvtrackCommand::run({ "compile", timeline, "-o", tracks }, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), "mrvtrack: removed '" + tracks + "/blur1.track': the timeline no longer names it\n"
                         "mrvtrack: wrote 1 track files to '" + tracks + "'\n");
    EXPECT_TRUE(std::filesystem::exists(tracks + "/notes.txt"));
}
