// The authoring overlay's lines: what the author reads must match the
// timeline's own counting (bars and beats from 1, rows from 0).
#include "demosys/authoring/HudText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string positionAt(unsigned int ms, unsigned int row, int rowsPerBeat, int beatsPerBar)
{
    char line[64];
    const int n = HudText::position(line, sizeof line, ms, row, rowsPerBeat, beatsPerBar);
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(line));
    return line;
}

} // namespace

TEST(HudTextTest, TimeIsMinutesPaddedSecondsAndMilliseconds)
{
    char line[16];
    HudText::time(line, sizeof line, 12345);
    EXPECT_STREQ(line, "0:12.345");
    HudText::time(line, sizeof line, 2 * 60000 + 5007);
    EXPECT_STREQ(line, "2:05.007");
    HudText::time(line, sizeof line, 61 * 60000);
    EXPECT_STREQ(line, "61:00.000");
}

TEST(HudTextTest, BarsAndBeatsCountFromOneAndTurnOverAtTheirLengths)
{
    EXPECT_EQ(positionAt(0, 0, 10, 4), "0:00.000 ROW 0 BAR 1 BEAT 1");
    EXPECT_EQ(positionAt(450, 9, 10, 4), "0:00.450 ROW 9 BAR 1 BEAT 1");
    EXPECT_EQ(positionAt(500, 10, 10, 4), "0:00.500 ROW 10 BAR 1 BEAT 2");
    EXPECT_EQ(positionAt(1950, 39, 10, 4), "0:01.950 ROW 39 BAR 1 BEAT 4");
    EXPECT_EQ(positionAt(2000, 40, 10, 4), "0:02.000 ROW 40 BAR 2 BEAT 1");
    EXPECT_EQ(positionAt(12345, 245, 10, 4), "0:12.345 ROW 245 BAR 7 BEAT 1");
    // A bar of one beat when the bar length is missing.
    EXPECT_EQ(positionAt(0, 25, 10, 0), "0:00.000 ROW 25 BAR 3 BEAT 1");
}

TEST(HudTextTest, WithoutABeatLengthOnlyTimeAndRow)
{
    EXPECT_EQ(positionAt(12345, 245, 0, 4), "0:12.345 ROW 245");
    EXPECT_EQ(positionAt(12345, 245, -3, 4), "0:12.345 ROW 245");
}

TEST(HudTextTest, LinesAreCutToTheBufferAndTheirLengthSaysWhatIsHeld)
{
    char line[12];
    EXPECT_EQ(HudText::position(line, sizeof line, 12345, 245, 10, 4), 11);
    EXPECT_STREQ(line, "0:12.345 RO");
    char tiny[4];
    EXPECT_EQ(HudText::effect(tiny, sizeof tiny, "drive", "offscreen", 3), 3);
    EXPECT_STREQ(tiny, "dri");
}

TEST(HudTextTest, EffectLinesNameTheTargetOrTheScreen)
{
    char line[64];
    HudText::effect(line, sizeof line, "glow", "glowsource", 7);
    EXPECT_STREQ(line, "glow - glowsource P7");
    HudText::effect(line, sizeof line, "fade", nullptr, 12);
    EXPECT_STREQ(line, "fade - SCREEN P12");
    HudText::frame(line, sizeof line, 59.94, 12.34);
    EXPECT_STREQ(line, "59.9 FPS 12.3 MS");
}
