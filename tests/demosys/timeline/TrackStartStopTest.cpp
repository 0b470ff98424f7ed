#include "demosys/gl/FrameBufferObject.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
TrackStartStopKeyFrame* start(unsigned int row, FrameBufferObject* target = nullptr, const std::string& name = "screen")
{
    TrackStartStopKeyFrame* keyframe = new TrackStartStopKeyFrame(row, TrackKeyFrame::START);
    keyframe->target = target;
    keyframe->targetName = name;
    return keyframe;
}

TrackStartStopKeyFrame* stop(unsigned int row)
{
    return new TrackStartStopKeyFrame(row, TrackKeyFrame::STOP);
}

std::vector<unsigned int> rowsOf(const std::vector<TrackKeyFrame*>& keyframes)
{
    std::vector<unsigned int> rows;
    for (const TrackKeyFrame* keyframe : keyframes)
        rows.push_back(keyframe->row);
    return rows;
}

bool validateQuietly(const TrackStartStop& track, std::string* log = nullptr)
{
    StdoutCapture capture;
    const bool ok = track.validateKeyframes();
    const std::string text = capture.take();
    if (log)
        *log = text;
    return ok;
}
}

TEST(TrackStartStopTest, IntervalIncludesBothEndRows)
{
    TrackStartStop track(0);
    track.addKeyframe(start(10));
    track.addKeyframe(stop(20));
    EXPECT_FALSE(track.isActive(0, 9));
    EXPECT_TRUE(track.isActive(0, 10));
    EXPECT_TRUE(track.isActive(0, 15));
    EXPECT_TRUE(track.isActive(0, 20));
    EXPECT_FALSE(track.isActive(0, 21));
    EXPECT_FALSE(track.isActive(0, 0xffffffffu));
}

TEST(TrackStartStopTest, GapBetweenIntervalsAndTrailingStartAreOff)
{
    TrackStartStop track(0);
    track.addKeyframe(start(0));
    track.addKeyframe(stop(4));
    track.addKeyframe(start(8));
    track.addKeyframe(stop(12));
    track.addKeyframe(start(30));
    EXPECT_TRUE(track.isActive(0, 0));
    EXPECT_FALSE(track.isActive(0, 5));
    EXPECT_FALSE(track.isActive(0, 7));
    EXPECT_TRUE(track.isActive(0, 8));
    // A start with no stop after it is on for its own row only.
    EXPECT_FALSE(track.isActive(0, 29));
    EXPECT_TRUE(track.isActive(0, 30));
    EXPECT_FALSE(track.isActive(0, 31));
    EXPECT_TRUE(track.insideInterval(30));
}

TEST(TrackStartStopTest, EmptyTrackGivesNeutralAnswers)
{
    const TrackStartStop track(-1);
    EXPECT_FALSE(track.isActive(0, 0));
    EXPECT_EQ(track.getRenderTarget(0), nullptr);
    EXPECT_EQ(track.getStartRow(0), 0u);
    std::vector<TrackKeyFrame*> range;
    track.getKeyFrameRange(0, 100, range);
    EXPECT_TRUE(range.empty());
    EXPECT_EQ(track.getPriority(), -1);
}

TEST(TrackStartStopTest, RenderTargetFollowsTheRunningInterval)
{
    FrameBufferObject glow(8, 8, false, false);
    FrameBufferObject blur(8, 8, false, false);
    TrackStartStop track(0);
    track.addKeyframe(start(16, &glow, "glow"));
    track.addKeyframe(stop(32));
    track.addKeyframe(start(40));
    track.addKeyframe(stop(48));
    track.addKeyframe(start(50, &blur, "blur"));

    EXPECT_EQ(track.getRenderTarget(15), nullptr);
    EXPECT_EQ(track.getRenderTarget(16), &glow);
    EXPECT_EQ(track.getRenderTarget(24), &glow);
    EXPECT_EQ(track.getRenderTarget(32), &glow);
    EXPECT_EQ(track.getRenderTarget(33), nullptr);
    EXPECT_EQ(track.getRenderTarget(44), nullptr) << "an interval without a target draws to the screen";
    EXPECT_EQ(track.getRenderTarget(50), &blur);
    EXPECT_EQ(track.getRenderTarget(51), nullptr);
}

TEST(TrackStartStopTest, TrackThatBeginsWithAStopHasNoTargetBeforeIt)
{
    TrackStartStop track(0);
    track.addKeyframe(stop(5));
    EXPECT_TRUE(track.isActive(0, 3));
    EXPECT_EQ(track.getRenderTarget(3), nullptr);
    EXPECT_EQ(track.getStartRow(3), 0u);
}

TEST(TrackStartStopTest, StartRowOfTheIntervalRunningAfterARow)
{
    TrackStartStop track(0);
    track.addKeyframe(start(10));
    track.addKeyframe(stop(20));
    track.addKeyframe(start(30));
    EXPECT_EQ(track.getStartRow(5), 0u);
    EXPECT_EQ(track.getStartRow(10), 10u);
    EXPECT_EQ(track.getStartRow(19), 10u);
    // From the stop row on, the keyframe after the row is no stop any more.
    EXPECT_EQ(track.getStartRow(20), 0u);
    EXPECT_EQ(track.getStartRow(30), 0u);
}

TEST(TrackStartStopTest, KeyframeOnAnOccupiedRowReplacesTheOldOne)
{
    FrameBufferObject glow(8, 8, false, false);
    TrackStartStop track(0);
    track.addKeyframe(start(10));
    track.addKeyframe(start(10, &glow, "glow"));
    EXPECT_EQ(track.getKeyframeCount(), 1);
    EXPECT_EQ(track.getRenderTarget(10), &glow);
    TrackKeyFrame* same = track.getKeyframe(10);
    track.addKeyframe(static_cast<TrackStartStopKeyFrame*>(same));
    EXPECT_EQ(track.getKeyframe(10), same) << "re-adding the stored keyframe must not delete it";
}

TEST(TrackValidationTest, AlternatingKeyframesPassAndLogEachRow)
{
    TrackStartStop track(0);
    track.addKeyframe(start(0));
    track.addKeyframe(stop(8));
    track.addKeyframe(start(12));
    std::string log;
    EXPECT_TRUE(validateQuietly(track, &log)) << "a trailing start passes";
    EXPECT_EQ(log, "--> Track::validateKeyframes()\n"
                   "--> row = 0, row=0, type = 1\n"
                   "--> row = 8, row=8, type = 0\n"
                   "--> row = 12, row=12, type = 1\n");
}

TEST(TrackValidationTest, EmptyTrackPasses)
{
    std::string log;
    EXPECT_TRUE(validateQuietly(TrackStartStop(-1), &log));
    EXPECT_EQ(log, "--> Track::validateKeyframes()\n--> Track have no keyframes.\n");
}

TEST(TrackValidationTest, TwoStartsFailAtTheSecond)
{
    TrackStartStop track(0);
    track.addKeyframe(start(0));
    track.addKeyframe(start(5));
    track.addKeyframe(stop(9));
    std::string log;
    EXPECT_FALSE(validateQuietly(track, &log));
    EXPECT_EQ(log, "--> Track::validateKeyframes()\n"
                   "--> row = 0, row=0, type = 1\n"
                   "--> row = 5, row=5, type = 1\n"
                   "--> PREVIOUS LINE IS CORRUPT BECAUSE IT'S NOT TAGGED AS A STOP KEYFRAME!\n");
}

TEST(TrackValidationTest, LeadingStopAndUnknownTypesFail)
{
    TrackStartStop leadingStop(0);
    leadingStop.addKeyframe(stop(3));
    std::string log;
    EXPECT_FALSE(validateQuietly(leadingStop, &log));
    EXPECT_NE(log.find("--> row = 3, row=3, type = 0\n"
                       "--> PREVIOUS LINE IS CORRUPT BECAUSE IT'S NOT TAGGED AS A START KEYFRAME!\n"),
              std::string::npos);

    // Type 2 acts as a stop when playing but is no stop to the validation.
    TrackStartStop oddType(0);
    oddType.addKeyframe(start(0));
    oddType.addKeyframe(new TrackStartStopKeyFrame(4, 2));
    EXPECT_TRUE(oddType.isActive(0, 2));
    EXPECT_FALSE(validateQuietly(oddType));
}

TEST(TrackRangeTest, RangeWidensToWholeIntervals)
{
    TrackStartStop track(0);
    track.addKeyframe(start(10));
    track.addKeyframe(stop(20));
    track.addKeyframe(start(30));
    track.addKeyframe(stop(40));
    track.addKeyframe(start(50));

    std::vector<TrackKeyFrame*> out;
    track.getKeyFrameRange(15, 35, out);
    EXPECT_EQ(rowsOf(out), (std::vector<unsigned int>{10, 20, 30, 40}));

    out.clear();
    track.getKeyFrameRange(35, 45, out);
    EXPECT_EQ(rowsOf(out), (std::vector<unsigned int>{30, 40})) << "fromRow inside an interval reaches back to its start";

    out.clear();
    track.getKeyFrameRange(21, 29, out);
    EXPECT_TRUE(out.empty()) << "a range inside a gap touches no interval";

    out.clear();
    track.getKeyFrameRange(45, 60, out);
    EXPECT_EQ(rowsOf(out), (std::vector<unsigned int>{50}));

    out.clear();
    track.getKeyFrameRange(51, 60, out);
    EXPECT_TRUE(out.empty());
}

TEST(TrackEditingTest, NeighboursAndEmptyRanges)
{
    TrackStartStop track(0);
    track.insertInterval(10, 20);
    EXPECT_TRUE(track.rowExists(10));
    EXPECT_TRUE(track.rowIsStartKeyFrame(10));
    EXPECT_FALSE(track.rowIsStartKeyFrame(20));
    EXPECT_FALSE(track.rowIsStartKeyFrame(15));
    EXPECT_EQ(track.nextKeyframe(10), 20);
    EXPECT_EQ(track.nextKeyframe(20), -1);
    EXPECT_EQ(track.prevKeyframe(10), -1);
    EXPECT_EQ(track.prevKeyframe(15), 10);
    EXPECT_TRUE(track.rangeEmpty(11, 19));
    EXPECT_FALSE(track.rangeEmpty(0, 10));
    EXPECT_TRUE(track.rangeEmpty(21, 0xffffffffu));
    EXPECT_EQ(track.getKeyframe(15), nullptr);
}

TEST(TrackEditingTest, DeleteIntervalRemovesBothEnds)
{
    TrackStartStop track(0);
    track.insertInterval(0, 4);
    track.insertInterval(10, 20);
    track.deleteInterval(15);
    EXPECT_FALSE(track.rowExists(10));
    EXPECT_FALSE(track.rowExists(20));
    EXPECT_EQ(track.getKeyframeCount(), 2);

    track.deleteInterval(0);
    EXPECT_EQ(track.getKeyframeCount(), 0);

    track.insertInterval(5, 6);
    track.deleteInterval(7);
    track.deleteInterval(3);
    EXPECT_EQ(track.getKeyframeCount(), 2) << "rows outside every interval delete nothing";
}

TEST(TrackEditingTest, MoveRowRekeysAndLogs)
{
    TrackStartStop track(0);
    track.insertInterval(10, 20);
    StdoutCapture capture;
    track.moveRow(20, 25);
    track.moveRow(7, 9);
    track.moveRow(10, 10);
    EXPECT_EQ(capture.take(), "Moved row from 20 to 25\n");
    ASSERT_NE(track.getKeyframe(25), nullptr);
    EXPECT_EQ(track.getKeyframe(25)->row, 25u);
    EXPECT_FALSE(track.rowExists(20));
    EXPECT_TRUE(track.isActive(0, 24));

    StdoutCapture second;
    track.moveRow(10, 25);
    second.take();
    EXPECT_EQ(track.getKeyframeCount(), 1) << "moving onto a keyframe replaces it";
    EXPECT_TRUE(track.rowIsStartKeyFrame(25));
}
