// The loop keys' rules, key by key: looping is on only while it can happen,
// and every refusal says why. And the moment the --dev lines give.
#include "demosys/authoring/DevKeys.h"
#include "demosys/authoring/LoopRegion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Step
{
    char key;              // 'i', 'o' at `at`, or 'l'
    unsigned int at;
    bool accepted;         // what the region returned
    const char* why;       // the reason when refused
    bool onAfter;
};

struct Case
{
    const char* name;
    std::vector<Step> steps;
};

const Case CASES[] = {
    { "NothingSet", { { 'l', 0, false, "Loop needs an end: O sets it at the clock", false } } },
    { "StartOnly", { { 'i', 500, true, "", false }, { 'l', 0, false, "Loop needs an end: O sets it at the clock", false } } },
    { "EndBeforeStart",
      { { 'i', 5000, true, "", false }, { 'o', 2000, true, "", false },
        { 'l', 0, false, "Loop needs an end after its start", false } } },
    { "EndAtStart",
      { { 'i', 5000, true, "", false }, { 'o', 5000, true, "", false },
        { 'l', 0, false, "Loop needs an end after its start", false } } },
    { "OnAndOff",
      { { 'i', 1000, true, "", false }, { 'o', 5000, true, "", false }, { 'l', 0, true, "", true },
        { 'l', 0, true, "", false } } },
    // A loop that is on stays one that can happen.
    { "StartMovedPastTheEndWhileOn",
      { { 'o', 5000, true, "", false }, { 'l', 0, true, "", true },
        { 'i', 6000, false, "Loop off: it needs an end after its start", false } } },
    { "EndMovedBeforeTheStartWhileOn",
      { { 'i', 1000, true, "", false }, { 'o', 5000, true, "", false }, { 'l', 0, true, "", true },
        { 'o', 500, false, "Loop off: it needs an end after its start", false } } },
};

class LoopRegionTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(LoopRegionTest, LoopsOnlyWhenItCan)
{
    LoopRegion loop;
    int index = 0;
    for (const Step& step : GetParam().steps)
    {
        std::string why;
        const bool accepted = step.key == 'i' ? loop.setStart(step.at, why)
                            : step.key == 'o' ? loop.setEnd(step.at, why)
                                              : loop.toggle(why);
        EXPECT_EQ(accepted, step.accepted) << "step " << index;
        if (!step.accepted)
        {
            EXPECT_EQ(why, step.why) << "step " << index;
        }
        EXPECT_EQ(loop.isOn(), step.onAfter) << "step " << index;
        ++index;
    }
    // Only a loop that is on jumps back, and only past its end.
    if (loop.isOn())
    {
        EXPECT_FALSE(loop.passedEnd(loop.getEnd()));
        EXPECT_TRUE(loop.passedEnd(loop.getEnd() + 1));
    }
    else
        EXPECT_FALSE(loop.passedEnd(~0u));
}

INSTANTIATE_TEST_SUITE_P(Keys, LoopRegionTest, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(DevMomentTest, GivesTheRowAndWhereTheBeatIsKnownTheBarAndBeat)
{
    // 12.345 s at 20 rows a second is row 246; ten rows a beat, four beats
    // a bar: beat 24 counted from 0, so bar 7, beat 1.
    EXPECT_EQ(DevKeys::moment(12345, 20, 0, 4), "(0000012345)-[00:12:345] row 246");
    EXPECT_EQ(DevKeys::moment(12345, 20, 10, 4), "(0000012345)-[00:12:345] row 246, bar 7 beat 1");
    EXPECT_EQ(DevKeys::moment(0, 20, 10, 4), "(0000000000)-[00:00:000] row 0, bar 1 beat 1");
    // Beats per bar below 1 count bars of one beat; rows never overflow.
    EXPECT_EQ(DevKeys::moment(1500, 20, 10, 0), "(0000001500)-[00:01:500] row 30, bar 4 beat 1");
    EXPECT_EQ(DevKeys::moment(4294967295u, 1000, 0, 4), "(4294967295)-[71582:47:295] row 4294967295");
}

} // namespace
