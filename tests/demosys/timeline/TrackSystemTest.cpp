#include "demosys/gl/FrameBufferObject.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackInterpolate.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackStartStopKeyFrame.h"
#include "demosys/timeline/TrackSystem.h"
#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct Draw
{
    std::string effect;
    unsigned int time;
    unsigned int frameTime;
    FrameBufferObject* bound;
};

// Notes every draw with the framebuffer bound at that moment.
class RecordingEffect : public Effect
{
public:
    RecordingEffect(const std::string& name_, std::vector<Draw>& log_)
        : name(name_), log(log_)
    {
    }
    void draw(unsigned int time, unsigned int frameTime) override
    {
        FrameBufferObject* bound = FrameBufferObject::fboStack.empty() ? nullptr : FrameBufferObject::fboStack.back();
        log.push_back({name, time, frameTime, bound});
    }

private:
    std::string name;
    std::vector<Draw>& log;
};

// A group whose start/stop track has the given priority and one interval.
TrackGroup* group(const std::string& name, int priority, unsigned int from = 0, unsigned int to = 100,
                  FrameBufferObject* target = nullptr)
{
    TrackGroup* g = new TrackGroup(name);
    TrackStartStop* track = new TrackStartStop(priority);
    TrackStartStopKeyFrame* start = new TrackStartStopKeyFrame(from, TrackKeyFrame::START);
    start->target = target;
    if (target)
        start->targetName = name + "_target";
    track->addKeyframe(start);
    track->addKeyframe(new TrackStartStopKeyFrame(to, TrackKeyFrame::STOP));
    g->setStartStopTrack(track);
    return g;
}

std::vector<std::string> sortedNames(const TrackSystem& system)
{
    std::vector<std::string> names;
    for (int i = 0; i < system.getSortedTrackGroupCount(); ++i)
        names.push_back(system.getSortedTrackGroup(i)->getName());
    return names;
}

std::vector<int> sortedPriorities(const TrackSystem& system)
{
    std::vector<int> priorities;
    for (int i = 0; i < system.getSortedTrackGroupCount(); ++i)
        priorities.push_back(system.getSortedTrackGroup(i)->getStartStopTrack()->getPriority());
    return priorities;
}

class TrackSystemTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override { FrameBufferObject::fboStack.clear(); }
};
}

TEST_F(TrackSystemTest, PrioritiesSortAndRenumber)
{
    TrackSystem system;
    system.addTrackGroup(group("a", 3));
    system.addTrackGroup(group("b", 1));
    system.addTrackGroup(group("c", 2));
    system.createPrioritySystem();
    EXPECT_EQ(sortedNames(system), (std::vector<std::string>{"b", "c", "a"}));
    system.prioritySanityCheck();
    EXPECT_EQ(sortedPriorities(system), (std::vector<int>{0, 1, 2}));
    // What the author wrote stays readable beside the places.
    std::vector<int> authored;
    for (int i = 0; i < system.getSortedTrackGroupCount(); ++i)
        authored.push_back(system.getSortedTrackGroup(i)->getStartStopTrack()->getAuthoredPriority());
    EXPECT_EQ(authored, (std::vector<int>{1, 2, 3}));

    StdoutCapture capture;
    system.printPriority();
    EXPECT_EQ(capture.take(), "Priority 0 = b\nPriority 1 = c\nPriority 2 = a\n");
}

TEST_F(TrackSystemTest, EqualPrioritiesFollowTheSelectionSortSwaps)
{
    TrackSystem system;
    system.addTrackGroup(group("a", 5));
    system.addTrackGroup(group("b", 5));
    system.addTrackGroup(group("c", 1));
    system.createPrioritySystem();
    EXPECT_EQ(sortedNames(system), (std::vector<std::string>{"c", "b", "a"}));

    TrackSystem negative;
    negative.addTrackGroup(group("x", 0));
    negative.addTrackGroup(group("y", -7));
    negative.addTrackGroup(group("z", 0));
    negative.createPrioritySystem();
    EXPECT_EQ(sortedNames(negative), (std::vector<std::string>{"y", "x", "z"})) << "priorities are signed";
}

TEST_F(TrackSystemTest, GroupWithoutStartStopTrackSortsFirstAndNeverDraws)
{
    std::vector<Draw> draws;
    RecordingEffect effect("bare", draws);
    TrackSystem system;
    system.addTrackGroup(group("a", 0));
    TrackGroup* bare = new TrackGroup("bare");
    bare->setEffect(&effect);
    system.addTrackGroup(bare);
    system.createPrioritySystem();
    system.prioritySanityCheck();
    ASSERT_NE(bare->getStartStopTrack(), nullptr);
    EXPECT_EQ(sortedNames(system), (std::vector<std::string>{"bare", "a"}));
    system.processSystem(0, 0, 0);
    EXPECT_TRUE(draws.empty());
}

TEST_F(TrackSystemTest, SwapTracksKeepsPrioritiesOnPlaces)
{
    TrackSystem system;
    system.addTrackGroup(group("a", 0));
    system.addTrackGroup(group("b", 1));
    system.createPrioritySystem();
    system.swapTracks(0, 1);
    system.swapTracks(0, 5);
    system.swapTracks(-1, 0);
    EXPECT_EQ(sortedNames(system), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(sortedPriorities(system), (std::vector<int>{0, 1}));
}

TEST_F(TrackSystemTest, GroupsByIndexAndName)
{
    TrackSystem system;
    system.addTrackGroup(group("zeta", 0));
    system.addTrackGroup(group("alpha", 0));
    EXPECT_EQ(system.size(), 2);
    EXPECT_EQ(system.getTrackGroup(0)->getName(), "alpha");
    EXPECT_EQ(system.getTrackGroup(1)->getName(), "zeta");
    EXPECT_EQ(system.getTrackGroup(2), nullptr);
    EXPECT_EQ(system.getTrackGroup(-1), nullptr);
    EXPECT_EQ(system.getTrackGroupByName("zeta")->getName(), "zeta");
    EXPECT_EQ(system.getTrackGroupByName("Zeta"), nullptr);
    EXPECT_EQ(system.getSortedTrackGroup(0), nullptr) << "no drawing order before createPrioritySystem";

    // Same name: the new group replaces (and the system deletes) the old one.
    system.createPrioritySystem();
    TrackGroup* replacement = group("zeta", 4);
    system.addTrackGroup(replacement);
    EXPECT_EQ(system.size(), 2);
    EXPECT_EQ(system.getTrackGroupByName("zeta"), replacement);
    EXPECT_EQ(system.getSortedTrackGroupCount(), 1) << "the deleted group left the drawing order";
}

TEST_F(TrackSystemTest, RowRateRefusesRatesThatCannotCountRows)
{
    TrackSystem system;
    EXPECT_EQ(system.getRowRate(), 20);
    EXPECT_TRUE(system.setRowRate(50));
    StdoutCapture capture;
    EXPECT_FALSE(system.setRowRate(0));
    EXPECT_FALSE(system.setRowRate(-3));
    EXPECT_EQ(capture.take(), "Row rate 0 is not above 0; keeping 50.\nRow rate -3 is not above 0; keeping 50.\n");
    EXPECT_EQ(system.getRowRate(), 50);
}

TEST_F(TrackSystemTest, ActiveEffectsDrawInPriorityOrder)
{
    std::vector<Draw> draws;
    RecordingEffect first("first", draws);
    RecordingEffect second("second", draws);
    RecordingEffect later("later", draws);
    TrackSystem system;
    TrackGroup* a = group("a", 9, 0, 10);
    TrackGroup* b = group("b", 1, 0, 10);
    TrackGroup* c = group("c", 5, 20, 30);
    a->setEffect(&second);
    b->setEffect(&first);
    c->setEffect(&later);
    system.addTrackGroup(a);
    system.addTrackGroup(b);
    system.addTrackGroup(c);
    system.addTrackGroup(group("no effect", 0, 0, 10));
    system.createPrioritySystem();
    system.prioritySanityCheck();

    system.processSystem(500, 10, 16);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].effect, "first");
    EXPECT_EQ(draws[1].effect, "second");
    EXPECT_EQ(draws[0].time, 500u);
    EXPECT_EQ(draws[0].frameTime, 16u);
    EXPECT_EQ(draws[0].bound, nullptr);

    draws.clear();
    system.processSystem(550, 11, 16);
    EXPECT_TRUE(draws.empty()) << "row 11 is in no interval";
    system.processSystem(1000, 20, 16);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].effect, "later");
}

TEST_F(TrackSystemTest, IntervalTargetIsBoundAroundTheDrawThenFlagged)
{
    FrameBufferObject target(16, 16, false, false);
    ASSERT_TRUE(target.isValid());
    std::vector<Draw> draws;
    RecordingEffect into("into", draws);
    RecordingEffect onScreen("screen", draws);
    TrackSystem system;
    TrackGroup* a = group("a", 0, 16, 32, &target);
    TrackGroup* b = group("b", 1, 16, 32);
    a->setEffect(&into);
    b->setEffect(&onScreen);
    system.addTrackGroup(a);
    system.addTrackGroup(b);
    system.createPrioritySystem();

    system.processSystem(800, 16, 20);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].bound, &target);
    EXPECT_EQ(draws[1].bound, nullptr) << "the target is released before the next effect draws";
    EXPECT_TRUE(FrameBufferObject::fboStack.empty());
    EXPECT_TRUE(target.hasClearFlag());

    target.setClearFlag(false);
    draws.clear();
    system.processSystem(2000, 40, 20);
    EXPECT_TRUE(draws.empty());
    EXPECT_FALSE(target.hasClearFlag()) << "an effect that does not draw flags nothing";
}

TEST_F(TrackSystemTest, ValidationLogsEachGroupAndStopsAtTheFirstMismatch)
{
    TrackSystem system;
    system.addTrackGroup(group("good", 0, 0, 8));
    TrackGroup* bad = new TrackGroup("bad");
    TrackStartStop* track = new TrackStartStop(1);
    track->addKeyframe(new TrackStartStopKeyFrame(4, TrackKeyFrame::STOP));
    bad->setStartStopTrack(track);
    system.addTrackGroup(bad);
    system.addTrackGroup(group("zlast", 2, 0, 8));
    system.createPrioritySystem();

    StdoutCapture capture;
    EXPECT_FALSE(system.validateStartStopTracks());
    EXPECT_TRUE(system.validateInterpolateTracks());
    EXPECT_EQ(capture.take(), "Validating StartStop track data.\n"
                              "-> Checking 'good.track'\n"
                              "--> Track::validateKeyframes()\n"
                              "--> row = 0, row=0, type = 1\n"
                              "--> row = 8, row=8, type = 0\n"
                              "-> Checking 'bad.track'\n"
                              "--> Track::validateKeyframes()\n"
                              "--> row = 4, row=4, type = 0\n"
                              "--> PREVIOUS LINE IS CORRUPT BECAUSE IT'S NOT TAGGED AS A START KEYFRAME!\n"
                              "--> StartStop Track : bad has keyframe mismatch\n");
}

TEST_F(TrackSystemTest, EmptySystemValidatesAndDrawsNothing)
{
    TrackSystem system;
    system.createPrioritySystem();
    StdoutCapture capture;
    EXPECT_TRUE(system.validateStartStopTracks());
    EXPECT_EQ(capture.take(), "Validating StartStop track data.\n");
    system.processSystem(0, 0, 0);
}

TEST(TrackGroupTest, InterpolatedTracksByNameAndIndex)
{
    TrackGroup g("fx");
    TrackInterpolate* first = new TrackInterpolate("alpha");
    TrackInterpolate* again = new TrackInterpolate("alpha");
    g.addInterpolateTrack(first);
    g.addInterpolateTrack(new TrackInterpolate("zoom"));
    g.addInterpolateTrack(again);
    g.addInterpolateTrack(nullptr);
    EXPECT_EQ(g.getInterpolateTrackCount(), 3);
    EXPECT_EQ(g.getInterpolateTrack(0), first);
    EXPECT_EQ(g.getInterpolateTrack(2), again);
    EXPECT_EQ(g.getInterpolateTrack(3), nullptr);
    EXPECT_EQ(g.getInterpolateTrackByName("alpha"), again) << "the later track of a name wins the lookup";
    EXPECT_EQ(g.getInterpolateTrackByName("beta"), nullptr);
    EXPECT_FALSE(g.isActive(0, 0)) << "no start/stop track: never on";

    Effect effect;
    EXPECT_EQ(effect.getTrack("alpha"), nullptr) << "no group yet";
    effect.setTrackGroup(&g);
    EXPECT_EQ(effect.getTrack("zoom"), g.getInterpolateTrack(1));
    EXPECT_EQ(effect.getTrack("nothing"), nullptr);
}

TEST(TrackGroupTest, LocalTimeCountsFromTheRunningIntervalsStart)
{
    testsupport::RegistryGuard registry;
    TrackSystem system;
    MRVDemosys::tracks = &system;
    TrackGroup g("fx");
    TrackStartStop* track = new TrackStartStop(0);
    track->insertInterval(10, 20);
    g.setStartStopTrack(track);
    // Row 10 at 20 rows per second starts at 500 ms.
    EXPECT_EQ(g.getLocalTime(10, 500), 0u);
    EXPECT_EQ(g.getLocalTime(12, 620), 120u);
    EXPECT_EQ(g.getLocalTime(5, 250), 250u) << "before the interval the time is absolute";
    system.setRowRate(3); // 333 whole milliseconds per row
    EXPECT_EQ(g.getLocalTime(12, 4000), 4000u - 3330u);
}
