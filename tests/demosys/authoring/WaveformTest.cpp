// The editor's waveform: the loudest peak of any stretch, read from a piece
// decoded once.
#include "demosys/authoring/Waveform.h"
#include "tests/support/MusicFixtures.h"

#include <sndfile.h>

#include <gtest/gtest.h>

TEST(WaveformTest, PeaksFollowTheMusicAndAnUnreadableFileGivesNone)
{
    // Half a second of silence, then half a second at 0.5 in the right
    // channel only: the peak is either channel's.
    const std::string path = MusicFixtures::tempPath("waveform.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 8000, 2, 8000,
                                          [](int channel, int64_t frame) {
                                              return channel == 1 && frame >= 4000 ? 0.5f : 0.0f;
                                          }));
    Waveform waveform;
    ASSERT_TRUE(waveform.load(path));
    EXPECT_FLOAT_EQ(waveform.peak(0.0, 490.0), 0.0f);
    EXPECT_FLOAT_EQ(waveform.peak(510.0, 990.0), 0.5f);
    EXPECT_FLOAT_EQ(waveform.peak(0.0, 1000.0), 0.5f) << "a stretch over both";
    EXPECT_FLOAT_EQ(waveform.peak(5000.0, 6000.0), 0.0f) << "past the end";
    EXPECT_FLOAT_EQ(waveform.peak(-100.0, -1.0), 0.0f) << "before the start";

    MusicFixtures::writeBytes(path, { 'n', 'o', 't', ' ', 'm', 'u', 's', 'i', 'c' });
    EXPECT_FALSE(waveform.load(path));
    EXPECT_TRUE(waveform.empty());
}
