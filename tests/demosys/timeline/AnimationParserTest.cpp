#include "demosys/data/DataAnimationPool.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationParser.h"
#include "demosys/timeline/Keyframe.h"

#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

// Animation files written for one test into a private directory.
class AnimationFiles : public testsupport::TempDir
{
public:
    AnimationFiles() : TempDir("animation-") {}
    const std::string& dir() const { return path(); }
};

const char* const TWO_KEYFRAMES = "MRVANI1\n"
                                  "keyframes 2\n"
                                  "pos 1 2 3\n"
                                  "rot 10 20\n"
                                  "pos -4.5 0.25 6e2\n"
                                  "rot -30 45.5\n";

// Parses bytes from a file; the parser is kept for its error state.
struct Parsed
{
    std::unique_ptr<AnimationParser> parser;
    std::unique_ptr<Animation> animation;
};

Parsed parseText(const AnimationFiles& files, const std::string& bytes)
{
    Parsed result;
    result.parser.reset(new AnimationParser(files.write("path.anim", bytes)));
    result.animation.reset(result.parser->parse());
    return result;
}

void expectKeyframe(const Animation& animation, int index, float x, float y, float z, float pitch, float heading)
{
    const Keyframe* k = animation.getKeyFrame(index);
    ASSERT_NE(k, nullptr) << "keyframe " << index;
    EXPECT_FLOAT_EQ(k->getPosition().x(), x);
    EXPECT_FLOAT_EQ(k->getPosition().y(), y);
    EXPECT_FLOAT_EQ(k->getPosition().z(), z);
    EXPECT_FLOAT_EQ(k->getPitch(), pitch);
    EXPECT_FLOAT_EQ(k->getHeading(), heading);
}

// The file name and the reason, after the common first line.
void expectFailure(const Parsed& parsed, const std::string& path, const std::string& reason)
{
    EXPECT_EQ(parsed.animation, nullptr);
    EXPECT_FALSE(parsed.parser->isValid());
    EXPECT_EQ(parsed.parser->getErrorMessage(),
              "Error while loading animation data\nFile : '" + path + "' " + reason + "\n");
}

} // namespace

TEST(AnimationFile, ReadsKeyframesInFileOrder)
{
    AnimationFiles files;
    const Parsed parsed = parseText(files, TWO_KEYFRAMES);
    ASSERT_NE(parsed.animation, nullptr);
    EXPECT_TRUE(parsed.parser->isValid());
    EXPECT_EQ(parsed.parser->getErrorMessage(), "");
    ASSERT_EQ(parsed.animation->countKeyFrames(), 2);
    expectKeyframe(*parsed.animation, 0, 1, 2, 3, 10, 20);
    expectKeyframe(*parsed.animation, 1, -4.5f, 0.25f, 600, -30, 45.5f);
    EXPECT_EQ(parsed.animation->getKeyFrame(2), nullptr);
    EXPECT_EQ(parsed.animation->getKeyFrame(-1), nullptr);
}

TEST(AnimationFile, ToleratesWhitespaceCarriageReturnsAndBlankLines)
{
    AnimationFiles files;
    // Header with trailing spaces and CR, CRLF lines, runs of spaces and
    // tabs, blank and whitespace-only lines anywhere, labels that differ.
    const Parsed parsed = parseText(files, "\n  \r\nMRVANI1   \r\n\r\n"
                                           "count   2\r\n"
                                           "   \t \r\n"
                                           "p\t1   2 3   \r\n"
                                           "\n"
                                           "r 10 20 extra items\r\n"
                                           "pos 4 5 6\n"
                                           "\n\n"
                                           "rot 7 8");
    ASSERT_NE(parsed.animation, nullptr) << parsed.parser->getErrorMessage();
    ASSERT_EQ(parsed.animation->countKeyFrames(), 2);
    expectKeyframe(*parsed.animation, 0, 1, 2, 3, 10, 20);
    expectKeyframe(*parsed.animation, 1, 4, 5, 6, 7, 8);
}

TEST(AnimationFile, CountDecidesHowManyKeyframesAreRead)
{
    AnimationFiles files;
    {
        // Lines beyond the count are not keyframes.
        const Parsed parsed = parseText(files, "MRVANI1\nkeyframes 1\npos 1 2 3\nrot 4 5\npos 9 9 9\nrot 9 9\n");
        ASSERT_NE(parsed.animation, nullptr);
        EXPECT_EQ(parsed.animation->countKeyFrames(), 1);
    }
    {
        const Parsed parsed = parseText(files, "MRVANI1\nkeyframes 0\n");
        ASSERT_NE(parsed.animation, nullptr);
        EXPECT_EQ(parsed.animation->countKeyFrames(), 0);
    }
}

TEST(AnimationFile, RejectsWrongOrMissingHeader)
{
    AnimationFiles files;
    const std::string path = files.dir() + "path.anim";
    for (const char* text : { "MRVANI2\nkeyframes 0\n", "", "\n \n", "keyframes 0\nMRVANI1\n", "MRVANI1 x\n" })
    {
        const Parsed parsed = parseText(files, text);
        EXPECT_EQ(parsed.animation, nullptr) << text;
        EXPECT_FALSE(parsed.parser->isValid());
        EXPECT_EQ(parsed.parser->getErrorMessage(),
                  "Error while loading animation data\nFile : '" + path + "' have invalid header\n");
    }
}

TEST(AnimationFile, RejectsMissingOrBadCounts)
{
    AnimationFiles files;
    const std::string path = files.dir() + "path.anim";
    expectFailure(parseText(files, "MRVANI1\n"), path, "has no keyframe count");
    expectFailure(parseText(files, "MRVANI1\nkeyframes\npos 1 2 3\n"), path, "has no keyframe count");
    const std::string bad = "is not a whole number of 0 or more";
    expectFailure(parseText(files, "MRVANI1\nkeyframes -1\n"), path, "line 2: keyframe count '-1' " + bad);
    expectFailure(parseText(files, "MRVANI1\nkeyframes two\n"), path, "line 2: keyframe count 'two' " + bad);
    expectFailure(parseText(files, "MRVANI1\nkeyframes 1.5\n"), path, "line 2: keyframe count '1.5' " + bad);
    expectFailure(parseText(files, "MRVANI1\nkeyframes -\n"), path, "line 2: keyframe count '-' " + bad);
    // Line numbers count the blank lines that were skipped.
    expectFailure(parseText(files, "MRVANI1\n\n\nkeyframes x\n"), path, "line 4: keyframe count 'x' " + bad);
}

TEST(AnimationFile, ShortFileFailsInsteadOfInventingKeyframes)
{
    AnimationFiles files;
    const std::string path = files.dir() + "path.anim";
    expectFailure(parseText(files, "MRVANI1\nkeyframes 3\npos 1 2 3\nrot 4 5\npos 1 2 3\n"), path,
                  "ends after 1 of 3 keyframes");
    expectFailure(parseText(files, "MRVANI1\nkeyframes 1\n"), path, "ends after 0 of 1 keyframes");
    // A count far beyond the file is found out by the lines, not by memory.
    expectFailure(parseText(files, "MRVANI1\nkeyframes 2000000000\npos 1 2 3\nrot 4 5\n"), path,
                  "ends after 1 of 2000000000 keyframes");
    expectFailure(parseText(files, "MRVANI1\nkeyframes 1\npos 1 2\nrot 4 5\n"), path,
                  "line 3: expected a label and 3 numbers, found 'pos 1 2'");
    expectFailure(parseText(files, "MRVANI1\nkeyframes 1\npos 1 2 3\nrot 4\n"), path,
                  "line 4: expected a label and 2 numbers, found 'rot 4'");
}

TEST(AnimationFile, EveryItemMustBeANumber)
{
    AnimationFiles files;
    const std::string path = files.dir() + "path.anim";
    for (const char* item : { "abc", "1.2.3", "1x", "nan", "inf", "-", ".", "1e", "0x10", "1e50", "--1" })
    {
        const std::string text = std::string("MRVANI1\nkeyframes 1\npos 1 ") + item + " 3\nrot 4 5\n";
        expectFailure(parseText(files, text), path, std::string("line 3: '") + item + "' is not a number");
    }
    expectFailure(parseText(files, "MRVANI1\nkeyframes 1\npos 1 2 3\nrot 4 five\n"), path,
                  "line 4: 'five' is not a number");

    const Parsed parsed = parseText(files, "MRVANI1\nkeyframes 1\npos +1 -2. .5\nrot 1E2 -2.5e-1\n");
    ASSERT_NE(parsed.animation, nullptr) << parsed.parser->getErrorMessage();
    expectKeyframe(*parsed.animation, 0, 1, -2, 0.5f, 100, -0.25f);
}

TEST(AnimationFile, MissingFileNamesIt)
{
    AnimationFiles files;
    const std::string path = files.dir() + "absent.anim";
    AnimationParser parser(path);
    EXPECT_FALSE(parser.loadFile(path));
    EXPECT_FALSE(parser.isValid());
    EXPECT_EQ(parser.parse(), nullptr);
    EXPECT_EQ(parser.getErrorMessage(), "Error while loading animation data\nFile '" + path + "' not found!\n");
}

TEST(AnimationFile, PrintedAnimationReadsBackUnchanged)
{
    AnimationFiles files;
    const Parsed first = parseText(files, TWO_KEYFRAMES);
    ASSERT_NE(first.animation, nullptr);

    StdoutCapture capture;
    first.animation->print();
    const std::string printed = capture.take();
    EXPECT_EQ(printed, "MRVANI1\nkeyframes 2\npos 1 2 3\nrot 10 20\npos -4.5 0.25 600\nrot -30 45.5\n");

    const Parsed second = parseText(files, printed);
    ASSERT_NE(second.animation, nullptr);
    ASSERT_EQ(second.animation->countKeyFrames(), 2);
    expectKeyframe(*second.animation, 1, -4.5f, 0.25f, 600, -30, 45.5f);
}

TEST(AnimationPoolLoading, StoresUnderAliasAndAnnounces)
{
    AnimationFiles files;
    const std::string path = files.write("fly.anim", TWO_KEYFRAMES);
    StdoutCapture capture;
    {
        DataAnimationPool pool;
        std::string error = "untouched";
        EXPECT_TRUE(pool.loadAnimation("flight", path, error));
        EXPECT_EQ(error, "untouched");
        ASSERT_TRUE(pool.exist("flight"));
        EXPECT_EQ(pool.getAnimation("flight")->countKeyFrames(), 2);
        EXPECT_EQ(pool.size(), 1);
    }
    EXPECT_EQ(capture.take(), "Loaded '" + path + "' using alias flight\n"
                              "[Dispose animationPool]\n -> delete flight\n");
}

TEST(AnimationPoolLoading, FailureStoresNothingAndHandsOverTheMessage)
{
    AnimationFiles files;
    const std::string bad = files.write("bad.anim", "MRVANI1\nkeyframes 2\npos 1 2 3\nrot 4 5\n");
    const std::string missing = files.dir() + "missing.anim";
    StdoutCapture capture;
    {
        DataAnimationPool pool;
        std::string error;
        EXPECT_FALSE(pool.loadAnimation("flight", bad, error));
        EXPECT_EQ(error, "Error while loading animation data\nFile : '" + bad + "' ends after 1 of 2 keyframes\n");
        EXPECT_FALSE(pool.loadAnimation("flight", missing, error));
        EXPECT_EQ(error, "Error while loading animation data\nFile '" + missing + "' not found!\n");
        EXPECT_FALSE(pool.exist("flight"));
        EXPECT_EQ(pool.size(), 0);
    }
    EXPECT_EQ(capture.take(), "[Dispose animationPool]\n");
}
