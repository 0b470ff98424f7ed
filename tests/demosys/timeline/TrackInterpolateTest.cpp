#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackKeyFrameInterpolate.h"
#include "demosys/timeline/TrackSystem.h"
#include "tests/support/RegistryGuard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
const double PI = 3.14159265358979323846;

// Installs a track system at a row rate for getValue and removes it again.
class RowRate
{
public:
    explicit RowRate(int rate)
    {
        system.setRowRate(rate);
        MRVDemosys::tracks = &system;
    }

private:
    testsupport::RegistryGuard registry;
    TrackSystem system;
};

// Keyframes (row 0, value 0, curve) and (row 10, value 1).
std::unique_ptr<TrackInterpolate> twoKeys(int curve)
{
    std::unique_ptr<TrackInterpolate> track(new TrackInterpolate("t"));
    track->addKeyframe(new TrackKeyFrameInterpolate(0, curve, 0.0f));
    track->addKeyframe(new TrackKeyFrameInterpolate(10, TrackKeyFrameInterpolate::LINEAR, 1.0f));
    return track;
}

std::vector<unsigned int> rowsOf(const std::vector<TrackKeyFrame*>& keyframes)
{
    std::vector<unsigned int> rows;
    for (const TrackKeyFrame* keyframe : keyframes)
        rows.push_back(keyframe->row);
    return rows;
}
}

TEST(TrackCurveTest, EveryCurveAtRowFiveOfTen)
{
    const RowRate rate(20);
    // 250 ms at 20 rows per second is row 5.0, halfway between the keys.
    EXPECT_FLOAT_EQ(twoKeys(0)->getValue(250), 0.5f);
    EXPECT_NEAR(twoKeys(1)->getValue(250), std::cos(0.25 * PI), 1e-6);
    EXPECT_NEAR(twoKeys(2)->getValue(250), 1.0 - std::cos(0.25 * PI), 1e-6);
    EXPECT_FLOAT_EQ(twoKeys(3)->getValue(250), 0.0f);
    EXPECT_FLOAT_EQ(twoKeys(4)->getValue(250), 0.25f);
    EXPECT_FLOAT_EQ(twoKeys(17)->getValue(250), 0.5f) << "unknown curves are linear";
    EXPECT_FLOAT_EQ(twoKeys(-1)->getValue(250), 0.5f);
}

TEST(TrackCurveTest, CurvesStartAtTheEarlierValueAndShapeTheWay)
{
    EXPECT_FLOAT_EQ(TrackInterpolate::linear(2.0f, 6.0f, 0.0f), 2.0f);
    EXPECT_NEAR(TrackInterpolate::cosine(2.0f, 6.0f, 0.0f, true), 2.0f, 1e-6);
    EXPECT_NEAR(TrackInterpolate::cosine(2.0f, 6.0f, 0.0f, false), 2.0f, 1e-6);
    EXPECT_FLOAT_EQ(TrackInterpolate::ramp(2.0f, 6.0f, 0.0f), 2.0f);
    // Towards d = 1 each curve (but step) approaches the later value.
    EXPECT_NEAR(TrackInterpolate::cosine(2.0f, 6.0f, 1.0f, true), 6.0f, 1e-6);
    EXPECT_NEAR(TrackInterpolate::cosine(2.0f, 6.0f, 1.0f, false), 6.0f, 1e-6);
    EXPECT_FLOAT_EQ(TrackInterpolate::ramp(2.0f, 6.0f, 1.0f), 6.0f);
    EXPECT_FLOAT_EQ(TrackInterpolate::step(2.0f, 6.0f, 0.99f), 2.0f);
    // Fast start runs ahead of the straight line early on; slow start lags.
    EXPECT_GT(TrackInterpolate::cosine(0.0f, 1.0f, 0.2f, true), 0.2f);
    EXPECT_LT(TrackInterpolate::cosine(0.0f, 1.0f, 0.2f, false), 0.2f);
    EXPECT_FLOAT_EQ(TrackInterpolate::linear(1.0f, -1.0f, 0.25f), 0.5f) << "falling values";
}

TEST(TrackCurveTest, FractionalRowsBlendWithinARow)
{
    const RowRate rate(20);
    const auto track = twoKeys(0);
    // 260 ms is still row 5 but 5.2 rows into the curve.
    EXPECT_FLOAT_EQ(track->getValue(260), 0.52f);
    EXPECT_FLOAT_EQ(track->getValue(499), 0.998f);
}

TEST(TrackClampTest, BeforeFirstAndFromLastKeyframeHoldTheirValues)
{
    const RowRate rate(20);
    TrackInterpolate track("t");
    track.addKeyframe(new TrackKeyFrameInterpolate(4, 0, 3.0f));
    track.addKeyframe(new TrackKeyFrameInterpolate(8, 0, 7.0f));
    EXPECT_FLOAT_EQ(track.getValue(0), 3.0f);
    EXPECT_FLOAT_EQ(track.getValue(199), 3.0f);
    EXPECT_FLOAT_EQ(track.getValue(200), 3.0f);
    EXPECT_FLOAT_EQ(track.getValue(300), 5.0f);
    EXPECT_FLOAT_EQ(track.getValue(400), 7.0f);
    EXPECT_FLOAT_EQ(track.getValue(0xffffffffu), 7.0f);
}

TEST(TrackClampTest, SingleAndNoKeyframe)
{
    const RowRate rate(20);
    TrackInterpolate single("s");
    single.addKeyframe(new TrackKeyFrameInterpolate(8, 0, 2.5f));
    for (unsigned int time : {0u, 399u, 400u, 401u, 100000u})
        EXPECT_FLOAT_EQ(single.getValue(time), 2.5f) << time;
    EXPECT_FLOAT_EQ(TrackInterpolate("empty").getValue(1234), 0.0f);
}

TEST(TrackRowRateTest, ValueFollowsTheSystemRowRate)
{
    const auto track = twoKeys(0);
    {
        const RowRate rate(40);
        EXPECT_FLOAT_EQ(track->getValue(125), 0.5f);
    }
    // Without an installed system the default rate of 20 applies.
    EXPECT_FLOAT_EQ(track->getValue(250), 0.5f);
    EXPECT_FLOAT_EQ(track->getValue(125, 40), 0.5f);
}

TEST(TrackRangeTest, InterpolatedRangeIncludesTheNeighbouringKeys)
{
    TrackInterpolate track("t");
    for (unsigned int row : {0u, 10u, 20u, 30u})
        track.addKeyframe(new TrackKeyFrameInterpolate(row, 0, 0.0f));
    std::vector<TrackKeyFrame*> out;
    track.getKeyFrameRange(5, 20, out);
    EXPECT_EQ(rowsOf(out), (std::vector<unsigned int>{0, 10, 20, 30}));
    out.clear();
    track.getKeyFrameRange(10, 12, out);
    EXPECT_EQ(rowsOf(out), (std::vector<unsigned int>{10, 20}));
    out.clear();
    track.getKeyFrameRange(30, 40, out);
    EXPECT_EQ(rowsOf(out), (std::vector<unsigned int>{30}));
    out.clear();
    track.getKeyFrameRange(31, 40, out);
    EXPECT_TRUE(out.empty());
}

TEST(TrackEditingTest, ClosestKeyframeAndDeletion)
{
    TrackInterpolate track("t");
    for (unsigned int row : {10u, 20u, 30u})
        track.addKeyframe(new TrackKeyFrameInterpolate(row, 0, static_cast<float>(row)));
    EXPECT_EQ(track.getClosestKeyframe(5), nullptr);
    ASSERT_NE(track.getClosestKeyframe(10), nullptr);
    EXPECT_EQ(track.getClosestKeyframe(10)->row, 10u);
    EXPECT_EQ(track.getClosestKeyframe(29)->row, 20u);
    EXPECT_EQ(track.getClosestKeyframe(30), nullptr) << "nothing after the last keyframe";

    track.deleteKeyframe(25); // none at 25: the one before goes
    EXPECT_FALSE(track.rowExists(20));
    track.deleteKeyframe(31); // nothing at or after 31
    track.deleteKeyframe(5);  // nothing before 5
    EXPECT_EQ(track.getKeyframeCount(), 2);
    track.deleteKeyframe(30);
    EXPECT_FALSE(track.rowExists(30));
    EXPECT_EQ(track.getName(), "t");
}
