// Edits of a timeline text as a text editor makes them: the lines an edit
// concerns change, every other byte stays, and an edit that would not
// compile changes nothing.
#include "demosys/timeline/TimelineEdit.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// Comments, blank lines, odd spacing and a CRLF line: all of it must
// survive any edit that does not touch it.
const std::string TEXT = "# the show\r\n"
                         "rowrate 20\n"
                         "\n"
                         "object fx          # the effect\n"
                         "priority 5\n"
                         "on 0 100   glow\n"
                         "track alpha\n"
                         "  0         linear   0      # fades in\n"
                         "  0:02:000  step     1\n"
                         "\n"
                         "# trailing comment\n";

struct Case
{
    const char* name;
    std::function<bool(TimelineEdit&)> edit;
    std::string after;  // the whole text afterwards; empty: refused
    const char* error;  // the refusal
    int line;           // the line written or removed
};

const Case CASES[] = {
    { "KeyOnItsRowKeepsColumnsAndComment",
      [](TimelineEdit& e) { return e.setKey("fx", "alpha", "0", "cos-in", "0.25"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\ntrack alpha\n"
      "  0         cos-in   0.25   # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 8 },
    { "KeyBetweenTwoIsLaidOutAsTheOneBefore",
      [](TimelineEdit& e) { return e.setKey("fx", "alpha", "0:01:000", "linear", "0.5"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\ntrack alpha\n"
      "  0         linear   0      # fades in\n  0:01:000  linear   0.5\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 9 },
    { "KeyOfANewTrackGoesAfterTheObject",
      [](TimelineEdit& e) { return e.setKey("fx", "zoom factor", "10", "linear", "2"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\ntrack alpha\n"
      "  0         linear   0      # fades in\n  0:02:000  step     1\ntrack \"zoom factor\"\n  10 linear 2\n\n"
      "# trailing comment\n",
      "", 11 },
    { "KeyOfANewObjectGoesAtTheEnd",
      [](TimelineEdit& e) { return e.setKey("blur", "size", "0", "linear", "1"); },
      TEXT + "\nobject blur\ntrack size\n  0 linear 1\n", "", 15 },
    { "UnkeyRemovesOnlyItsLine", [](TimelineEdit& e) { return e.removeKey("fx", "alpha", "40"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\ntrack alpha\n"
      "  0         linear   0      # fades in\n\n# trailing comment\n",
      "", 9 },
    { "KeyMovedBetweenTheSameNeighboursStaysInItsLine",
      [](TimelineEdit& e) { return e.moveKey("fx", "alpha", "0", "10", "0.5"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\ntrack alpha\n"
      "  10        linear   0.5    # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 8 },
    { "KeyMovedPastItsNeighbourTakesItsCommentAlong",
      [](TimelineEdit& e) { return e.moveKey("fx", "alpha", "0", "0:03:000", ""); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\ntrack alpha\n"
      "  0:02:000  step     1\n  0:03:000  linear   0      # fades in\n\n# trailing comment\n",
      "", 9 },
    { "IntervalSpanInItsOnLine", [](TimelineEdit& e) { return e.setIntervalSpan("fx", "0", "20", "0:06:000"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 20 0:06:000 glow\ntrack alpha\n"
      "  0         linear   0      # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 6 },
    { "IntervalAfterTheLastStartStopLine",
      [](TimelineEdit& e) { return e.addInterval("fx", "200", "0:12:000", "screen"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   glow\non 200 0:12:000\n"
      "track alpha\n  0         linear   0      # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 7 },
    { "TargetChangedInPlace", [](TimelineEdit& e) { return e.setIntervalTarget("fx", "0", "blur buffer"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100   \"blur buffer\"\ntrack alpha\n"
      "  0         linear   0      # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 6 },
    { "TargetBackToTheScreen", [](TimelineEdit& e) { return e.setIntervalTarget("fx", "0", "screen"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\non 0 100\ntrack alpha\n"
      "  0         linear   0      # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 6 },
    { "IntervalOffByItsStart", [](TimelineEdit& e) { return e.removeInterval("fx", "0"); },
      "# the show\r\nrowrate 20\n\nobject fx          # the effect\npriority 5\ntrack alpha\n"
      "  0         linear   0      # fades in\n  0:02:000  step     1\n\n# trailing comment\n",
      "", 6 },

    { "BadCurve", [](TimelineEdit& e) { return e.setKey("fx", "alpha", "0", "wobble", "1"); }, "",
      "expected a curve (linear, cos-out, cos-in, step, ramp or a whole number), found 'wobble'", 0 },
    { "BadTime", [](TimelineEdit& e) { return e.setKey("fx", "alpha", "1:2", "linear", "1"); }, "",
      "expected a time 'minutes:seconds:milliseconds' of three whole numbers, found '1:2'", 0 },
    { "NoSuchKey", [](TimelineEdit& e) { return e.removeKey("fx", "alpha", "7"); }, "",
      "no key of fx.alpha at row 7", 0 },
    { "OverlappingInterval", [](TimelineEdit& e) { return e.addInterval("fx", "50", "150", ""); }, "",
      "expected a stop between the start at row 0 (line 6) and the start at row 50 of object 'fx'", 0 },
    { "KeyMovedOntoAnother", [](TimelineEdit& e) { return e.moveKey("fx", "alpha", "0", "40", ""); }, "",
      "a key of fx.alpha is already on row 40", 0 },
    { "SpanEndingBeforeItStarts", [](TimelineEdit& e) { return e.setIntervalSpan("fx", "0", "50", "20"); }, "",
      "expected the stop after the start in 'on FROM TO', found row 50 to row 20", 0 },
    { "NoIntervalStartsThere", [](TimelineEdit& e) { return e.removeInterval("fx", "50"); }, "",
      "no interval of fx starts at row 50", 0 },
};

class TimelineEditTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(TimelineEditTest, ChangesOnlyItsLinesOrNothing)
{
    const Case& c = GetParam();
    TimelineEdit edit("show.txt", TEXT);
    const bool done = c.edit(edit);
    EXPECT_EQ(done, !c.after.empty()) << edit.getErrorMessage();
    if (done)
    {
        EXPECT_EQ(edit.getText(), c.after);
        EXPECT_EQ(edit.getLine(), c.line);
    }
    else
    {
        EXPECT_EQ(edit.getText(), TEXT);
        EXPECT_EQ(edit.getErrorMessage(), c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(Edits, TimelineEditTest, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(TimelineEditUndoTest, AKeyAddedAndRemovedGivesBackTheOriginalBytes)
{
    TimelineEdit edit("show.txt", TEXT);
    ASSERT_TRUE(edit.setKey("fx", "alpha", "30", "ramp", "-2.75"));
    ASSERT_TRUE(edit.removeKey("fx", "alpha", "30"));
    EXPECT_EQ(edit.getText(), TEXT);
}

} // namespace
