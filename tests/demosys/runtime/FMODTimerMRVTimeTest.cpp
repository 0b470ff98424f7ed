#include "demosys/runtime/MRVTime.h"

#include <gtest/gtest.h>

// The clock's time value: start positions and stop times arrive as text.

TEST(FMODTimerMRVTimeTest, ThreeFieldTextGivesTheTotalWithPartsAsWritten)
{
    MRVTime two("2:0:0");
    EXPECT_TRUE(two.isValid());
    EXPECT_EQ(120000u, two.getTicks());

    MRVTime ninety("0:90:0");
    EXPECT_TRUE(ninety.isValid());
    EXPECT_EQ(90000u, ninety.getTicks());
    EXPECT_EQ(90, ninety.getSeconds());
    EXPECT_EQ(0, ninety.getMinutes());

    MRVTime full("1:23:500");
    EXPECT_EQ(83500u, full.getTicks());
    EXPECT_EQ("(0000083500)-[01:23:500]", full.toString());
}

TEST(FMODTimerMRVTimeTest, MalformedTextGivesZeroAndInvalid)
{
    for (const char* text : {"1:30", "", "1:2:3:4", "a:0:0", "1:+5:0", "0: 5:0", "1.5:0:0"})
    {
        MRVTime t(text);
        EXPECT_FALSE(t.isValid()) << text;
        EXPECT_EQ(0u, t.getTicks()) << text;
        EXPECT_EQ(0, t.getMinutes()) << text;
        EXPECT_EQ(0, t.getMilliseconds()) << text;
    }
    // A good text after a bad one makes the value valid again.
    MRVTime t("x");
    t.setTimeAsString("0:1:5");
    EXPECT_TRUE(t.isValid());
    EXPECT_EQ(1005u, t.getTicks());
}

TEST(FMODTimerMRVTimeTest, SettersCarryAsFarAsTheyShould)
{
    MRVTime t;
    t.setSeconds(130);
    EXPECT_EQ(2, t.getMinutes());
    EXPECT_EQ(10, t.getSeconds());
    EXPECT_EQ(130000u, t.getTicks());

    MRVTime m(0, 59, 0);
    m.setMilliseconds(2500);
    EXPECT_EQ(61, m.getSeconds());  // not carried on into minutes
    EXPECT_EQ(0, m.getMinutes());
    EXPECT_EQ(500, m.getMilliseconds());
    EXPECT_EQ(61500u, m.getTicks());

    MRVTime ticks(3723004u);
    EXPECT_EQ(62, ticks.getMinutes());
    EXPECT_EQ(3, ticks.getSeconds());
    EXPECT_EQ(4, ticks.getMilliseconds());
    EXPECT_EQ("(0003723004)-[62:03:004]", ticks.toString());
    EXPECT_EQ("12345", MRVTime::forceStringLength("12345", 3));
    EXPECT_EQ("007", MRVTime::forceStringLength("7", 3));
}
