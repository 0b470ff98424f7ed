#include "demosys/runtime/MRVTime.h"

#include <gtest/gtest.h>

// The clock's time value: start positions and stop times arrive as text.

TEST(MRVTime, TicksSplitIntoParts)
{
    MRVTime t(83500u);
    EXPECT_EQ(t.getMinutes(), 1);
    EXPECT_EQ(t.getSeconds(), 23);
    EXPECT_EQ(t.getMilliseconds(), 500);
    EXPECT_EQ(t.toString(), "(0000083500)-[01:23:500]");
    EXPECT_DOUBLE_EQ(t.getTicksAsDouble(), 83500.0);

    EXPECT_EQ(MRVTime(3723004u).toString(), "(0003723004)-[62:03:004]");
    EXPECT_EQ(MRVTime().toString(), "(0000000000)-[00:00:000]");
    EXPECT_EQ(MRVTime(4294967295u).toString(), "(4294967295)-[71582:47:295]");
}

TEST(MRVTime, TextFormWithThreeIntegerFields)
{
    MRVTime two("2:0:0");
    EXPECT_TRUE(two.isValid());
    EXPECT_EQ(two.getTicks(), 120000u);

    MRVTime unnormalised("0:90:0");
    EXPECT_EQ(unnormalised.getTicks(), 90000u);
    EXPECT_EQ(unnormalised.getSeconds(), 90) << "parts stay as written";
    EXPECT_EQ(unnormalised.getMinutes(), 0);
    EXPECT_EQ(MRVTime("1:23:500").getTicks(), 83500u);

    for (const char* bad : { "1:30", "a:0:0", "1:2:3:4", "", "1:2:x", "1:2:3.5", " 1:2:3", "1:+5:0", "0: 5:0",
                             "1.5:0:0" })
    {
        MRVTime t(bad);
        EXPECT_FALSE(t.isValid()) << bad;
        EXPECT_EQ(t.getTicks(), 0u) << bad;
        EXPECT_EQ(t.getMinutes(), 0) << bad;
        EXPECT_EQ(t.getMilliseconds(), 0) << bad;
    }

    MRVTime reused("1:0:0");
    reused.setTimeAsString("1:0:0");
    reused.setTimeAsString("broken");
    EXPECT_FALSE(reused.isValid());
    reused.setTimeAsString("0:1:5");
    EXPECT_TRUE(reused.isValid()) << "a later good text makes it valid again";
    EXPECT_EQ(reused.getTicks(), 1005u);
}

TEST(MRVTime, PartSettersCarryAsDocumented)
{
    MRVTime t;
    t.setSeconds(130);
    EXPECT_EQ(t.getMinutes(), 2);
    EXPECT_EQ(t.getSeconds(), 10);
    EXPECT_EQ(t.getTicks(), 130000u);

    MRVTime ms;
    ms.setMilliseconds(61500);
    EXPECT_EQ(ms.getSeconds(), 61) << "milliseconds carry into seconds only";
    EXPECT_EQ(ms.getMinutes(), 0);
    EXPECT_EQ(ms.getMilliseconds(), 500);
    EXPECT_EQ(ms.getTicks(), 61500u);
    MRVTime onTop(0, 59, 0);
    onTop.setMilliseconds(2500);
    EXPECT_EQ(onTop.getSeconds(), 61) << "the carry adds to the seconds there are";
    EXPECT_EQ(onTop.getMinutes(), 0);
    EXPECT_EQ(onTop.getTicks(), 61500u);

    MRVTime parts(1, 75, 20);
    EXPECT_EQ(parts.getTicks(), 135020u);
    parts.setMinutes(30);
    EXPECT_EQ(parts.getTicks(), 30u * 60000u + 75000u + 20u);

    parts.reset();
    EXPECT_EQ(parts.getTicks(), 0u);
    EXPECT_EQ(MRVTime::forceStringLength("7", 3), "007");
    EXPECT_EQ(MRVTime::forceStringLength("12345", 3), "12345");
}
