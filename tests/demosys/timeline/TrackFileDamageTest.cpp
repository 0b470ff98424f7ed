#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "tests/support/ByteImage.h"
#include "tests/support/StdoutCapture.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
size_t completeRecords(const ByteImage& file, size_t length)
{
    size_t n = 0;
    for (size_t e : file.recordEnds)
        n += e <= length ? 1 : 0;
    return n;
}

class TrackFileDamageTest : public ::testing::Test
{
protected:
    std::string dirName() const
    {
        std::string d = dir.path();
        d.pop_back();
        return d;
    }
    testsupport::TempDir dir;
};

// Priority 3; intervals 2..6 into "glow" and 10..12 on screen; a trailing
// start at 20 into "blurbuffer".
ByteImage validStartStop()
{
    ByteImage b;
    b.i32(3).i32(5);
    b.i32(2).i32(1).name("glow").end();
    b.i32(6).i32(0).end();
    b.i32(10).i32(1).name("").end();
    b.i32(12).i32(0).end();
    b.i32(20).i32(1).name("blurbuffer").end();
    return b;
}

ByteImage validInterpolate()
{
    ByteImage b;
    b.i32(4);
    for (int i = 0; i < 4; ++i)
        b.i32(i * 10).i32(i).f32(0.5f * static_cast<float>(i)).end();
    return b;
}
}

TEST_F(TrackFileDamageTest, EveryTruncationOfAStartStopFileKeepsTheCompleteKeyframes)
{
    const ByteImage file = validStartStop();
    for (size_t length = 0; length < file.data.size(); ++length)
    {
        SCOPED_TRACE(length);
        dir.write("fx.track", file.data.substr(0, length));
        TrackSystemIO io(dirName());
        io.setResolveTargets(false);
        StdoutCapture capture;
        std::unique_ptr<TrackStartStop> track(io.loadStartStopTrack("fx"));
        const std::string log = capture.take();
        ASSERT_NE(track, nullptr);
        EXPECT_NE(log.find("Track file '" + dir.path() + "fx.track' is truncated or corrupt: "), std::string::npos)
            << log;
        EXPECT_EQ(io.getDamagedFiles(), std::vector<std::string>{dir.path() + "fx.track"});
        EXPECT_EQ(static_cast<size_t>(track->getKeyframeCount()), completeRecords(file, length));
        EXPECT_EQ(track->getPriority(), length < 4 ? -1 : 3);
    }
    dir.write("fx.track", file.data);
    TrackSystemIO io(dirName());
    io.setResolveTargets(false);
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> whole(io.loadStartStopTrack("fx"));
    capture.take();
    EXPECT_EQ(whole->getKeyframeCount(), 5);
    EXPECT_TRUE(io.getDamagedFiles().empty());
}

TEST_F(TrackFileDamageTest, TruncationMessagesSayWhatWasKept)
{
    const ByteImage file = validStartStop();
    dir.write("fx.track", file.data.substr(0, file.recordEnds[1] + 3));
    TrackSystemIO io(dirName());
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> track(io.loadStartStopTrack("fx"));
    EXPECT_NE(capture.take().find("Track file '" + dir.path() +
                                  "fx.track' is truncated or corrupt: kept 2 of 5 keyframes, the rest is treated as "
                                  "absent.\n"),
              std::string::npos);
    // What is kept still forms a valid, playable interval.
    StdoutCapture validation;
    EXPECT_TRUE(track->validateKeyframes());
    validation.take();
    EXPECT_TRUE(track->isActive(0, 4));

    dir.write("short.track", std::string("\x01\x00", 2));
    StdoutCapture second;
    std::unique_ptr<TrackStartStop> empty(io.loadStartStopTrack("short"));
    EXPECT_EQ(second.take(),
              "Track file '" + dir.path() + "short.track' is truncated or corrupt: it ends before its priority.\n");
    EXPECT_EQ(empty->getKeyframeCount(), 0);
}

TEST_F(TrackFileDamageTest, StartNameWithoutTerminatorIsDropped)
{
    dir.write("fx.track", ByteImage().i32(0).i32(3).i32(0).i32(1).name("").i32(4).i32(0).data +
                              std::string("\x08\x00\x00\x00\x01\x00\x00\x00glow", 12));
    TrackSystemIO io(dirName());
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> track(io.loadStartStopTrack("fx"));
    EXPECT_NE(capture.take().find("kept 2 of 3 keyframes"), std::string::npos);
    EXPECT_EQ(track->getKeyframeCount(), 2);
    EXPECT_FALSE(track->rowExists(8));
}

TEST_F(TrackFileDamageTest, EveryTruncationOfAnInterpolatedFileKeepsTheCompleteKeyframes)
{
    const ByteImage file = validInterpolate();
    for (size_t length = 0; length < file.data.size(); ++length)
    {
        SCOPED_TRACE(length);
        dir.write("fx.alpha.track", file.data.substr(0, length));
        TrackSystemIO io(dirName());
        StdoutCapture capture;
        std::unique_ptr<TrackInterpolate> track(io.loadInterpolateTrack("fx", "alpha"));
        const std::string log = capture.take();
        ASSERT_NE(track, nullptr);
        EXPECT_NE(log.find("Track file '" + dir.path() + "fx.alpha.track' is truncated or corrupt: "),
                  std::string::npos);
        const size_t kept = completeRecords(file, length);
        ASSERT_EQ(static_cast<size_t>(track->getKeyframeCount()), kept);
        if (kept > 0)
        {
            const auto* last = static_cast<const TrackKeyFrameInterpolate*>(track->getKeyframes().rbegin()->second);
            EXPECT_FLOAT_EQ(last->value, 0.5f * static_cast<float>(kept - 1));
        }
    }
}

TEST_F(TrackFileDamageTest, NegativeAndImpossibleCountsReadNothingOutsideTheFile)
{
    dir.write("neg.track", ByteImage().i32(1).i32(-1).i32(0).i32(1).name("").data);
    dir.write("neg.alpha.track", ByteImage().i32(-5).i32(0).i32(0).f32(1.0f).data);
    dir.write("huge.track", ByteImage().i32(1).i32(0x7fffffff).i32(0).i32(1).name("").i32(3).i32(0).data);
    dir.write("huge.alpha.track", ByteImage().i32(0x7fffffff).i32(0).i32(0).f32(1.0f).i32(5).i32(0).f32(2.0f).data);
    TrackSystemIO io(dirName());
    io.setVerbose(false);
    StdoutCapture capture;
    std::unique_ptr<TrackStartStop> negative(io.loadStartStopTrack("neg"));
    std::unique_ptr<TrackInterpolate> negativeValues(io.loadInterpolateTrack("neg", "alpha"));
    std::unique_ptr<TrackStartStop> huge(io.loadStartStopTrack("huge"));
    std::unique_ptr<TrackInterpolate> hugeValues(io.loadInterpolateTrack("huge", "alpha"));
    const std::string log = capture.take();

    EXPECT_NE(log.find("'" + dir.path() + "neg.track' is truncated or corrupt: its keyframe count -1 is impossible.\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("'" + dir.path() +
                       "neg.alpha.track' is truncated or corrupt: its keyframe count -5 is impossible.\n"),
              std::string::npos);
    EXPECT_NE(log.find("'" + dir.path() + "huge.track' is truncated or corrupt: kept 2 of 2147483647 keyframes"),
              std::string::npos);
    EXPECT_NE(log.find("'" + dir.path() + "huge.alpha.track' is truncated or corrupt: kept 2 of 2147483647"),
              std::string::npos);
    EXPECT_EQ(negative->getKeyframeCount(), 0);
    EXPECT_EQ(negativeValues->getKeyframeCount(), 0);
    EXPECT_EQ(huge->getKeyframeCount(), 2);
    EXPECT_EQ(hugeValues->getKeyframeCount(), 2);
    EXPECT_FLOAT_EQ(hugeValues->getValue(250, 20), 2.0f);
    EXPECT_EQ(io.getDamagedFiles().size(), 4u);
}
