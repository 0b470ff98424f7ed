// Camera path edits as a text editor makes them: a keyframe's two lines get
// new numbers in place, a new keyframe comes with its neighbour's layout and
// a count one higher, and nothing else moves.
#include "demosys/timeline/AnimationEdit.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationParser.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

// Aligned columns, a blank line, a CRLF line and trailing lines after the
// last keyframe (which the reader ignores): all must survive.
const std::string TEXT = "MRVANI1\n"
                         "keyframes   2\r\n"
                         "\n"
                         "  pos   1.5   2   3    extra\n"
                         "  rot   10    20\n"
                         "  pos   4     5   6\n"
                         "  rot   30    40\n"
                         "notes after the path\n";

AnimationEdit::Pose pose(float x, float y, float z, float pitch, float heading)
{
    AnimationEdit::Pose p;
    p.position = Vector<float, 3>(x, y, z);
    p.pitch = pitch;
    p.heading = heading;
    return p;
}

struct Case
{
    const char* name;
    std::function<bool(AnimationEdit&)> edit;
    std::string after;  // empty: refused
    int line;           // the keyframe's pos line; the refusal otherwise
    const char* error;
};

const Case CASES[] = {
    { "KeyframeRenumberedInPlace",
      [](AnimationEdit& e) { return e.setKeyframe(1, pose(-7.25f, 0.0004f, 100.0f, -12.5f, 359.999f)); },
      "MRVANI1\nkeyframes   2\r\n\n  pos   1.5   2   3    extra\n  rot   10    20\n  pos   -7.25     0   100\n"
      "  rot   -12.5    359.999\nnotes after the path\n",
      6, "" },
    { "KeyframeInsertedBeforeTheFirst", [](AnimationEdit& e) { return e.insertKeyframe(0, pose(0, 0, 0, 0, 0)); },
      "MRVANI1\nkeyframes   3\r\n\n  pos   0   0   0    extra\n  rot   0    0\n  pos   1.5   2   3    extra\n"
      "  rot   10    20\n  pos   4     5   6\n  rot   30    40\nnotes after the path\n",
      4, "" },
    { "KeyframeAppendedAfterTheLast", [](AnimationEdit& e) { return e.insertKeyframe(2, pose(9, 9, 9, 1, 2)); },
      "MRVANI1\nkeyframes   3\r\n\n  pos   1.5   2   3    extra\n  rot   10    20\n  pos   4     5   6\n"
      "  rot   30    40\n  pos   9     9   9\n  rot   1    2\nnotes after the path\n",
      8, "" },
    { "NoSuchKeyframe", [](AnimationEdit& e) { return e.setKeyframe(2, pose(0, 0, 0, 0, 0)); }, "", 0,
      "the camera path has no keyframe 3" },
};

class AnimationEditTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(AnimationEditTest, ChangesOnlyItsLinesOrNothing)
{
    const Case& c = GetParam();
    AnimationEdit edit("path.ani", TEXT);
    const bool done = c.edit(edit);
    EXPECT_EQ(done, !c.after.empty()) << edit.getErrorMessage();
    if (!done)
    {
        EXPECT_EQ(edit.getText(), TEXT);
        EXPECT_EQ(edit.getErrorMessage(), c.error);
        return;
    }
    EXPECT_EQ(edit.getText(), c.after);
    EXPECT_EQ(edit.getLine(), c.line);
    // What was written reads back as a camera path.
    AnimationParser parser("path.ani");
    std::unique_ptr<Animation> path(parser.parse(edit.getText()));
    ASSERT_TRUE(path) << parser.getErrorMessage();
}

INSTANTIATE_TEST_SUITE_P(Edits, AnimationEditTest, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(AnimationEditRefusalTest, ABrokenFileIsLeftAsItIs)
{
    AnimationEdit edit("path.ani", "MRVANI1\nkeyframes 2\npos 0 0 0\nrot 0 0\n");
    EXPECT_FALSE(edit.insertKeyframe(0, pose(1, 1, 1, 0, 0)));
    EXPECT_EQ(edit.getText(), "MRVANI1\nkeyframes 2\npos 0 0 0\nrot 0 0\n");
    EXPECT_NE(edit.getErrorMessage().find("ends after 1 of 2 keyframes"), std::string::npos) << edit.getErrorMessage();
}

} // namespace
