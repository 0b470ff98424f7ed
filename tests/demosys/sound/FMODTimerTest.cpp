#include "demosys/sound/FMODTimer.h"
#include "demosys/sound/SoundChannel.h"
#include "tests/support/MusicFixtures.h"
#include "tests/support/StdoutCapture.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{
// Real-time kind (follows the audio), but moved by the test.
class ManualTicks : public TickSource
{
public:
    explicit ManualTicks(unsigned int* t) : ticks(t) {}
    unsigned int getTicks() override { return *ticks; }

private:
    unsigned int* ticks;
};

std::string longMusic()
{
    // 70 s, so that a start at 65 s lies inside the music.
    static std::string path;
    if (path.empty())
    {
        path = MusicFixtures::tempPath("clock70.wav");
        EXPECT_TRUE(MusicFixtures::writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 8000 * 70, {250.0}, 0.5));
    }
    return path;
}

std::string toneMusic()
{
    static std::string path;
    if (path.empty())
    {
        path = MusicFixtures::tempPath("clock_tone.ogg");
        // Band 20 of 64 at 48 kHz on the left, band 40 on the right.
        EXPECT_TRUE(MusicFixtures::writeTone(path, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 48000, 48000 * 3,
                                             {MusicFixtures::bandFrequency(20, 64, 48000),
                                              MusicFixtures::bandFrequency(40, 64, 48000)},
                                             0.8));
    }
    return path;
}

// Without an audio device, as on the build machines: the silent output.
class FMODTimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* old = std::getenv("SDL_AUDIODRIVER");
        hadDriver = old != nullptr;
        savedDriver = old ? old : "";
        setenv("SDL_AUDIODRIVER", "mrv_no_such_driver", 1);
    }
    void TearDown() override
    {
        if (hadDriver)
            setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
    }

    bool hadDriver = false;
    std::string savedDriver;
};
}

TEST_F(FMODTimerTest, InitLoadsTheMusicPausedAndLogsTheVersion)
{
    unsigned int ticks = 5000;
    FMODTimer timer(longMusic(), 20);
    timer.setTickSource(std::unique_ptr<TickSource>(new ManualTicks(&ticks)));
    StdoutCapture capture;
    ASSERT_TRUE(timer.init());
    EXPECT_EQ("Fmod Version = 65536\n", capture.take());
    EXPECT_EQ(70000u, timer.getEndTime());
    EXPECT_EQ(1400u, timer.getEndRow());
    EXPECT_TRUE(timer.isPaused());
    ASSERT_NE(nullptr, timer.getSoundChannel());
    bool paused = false;
    timer.getSoundChannel()->getPaused(&paused);
    EXPECT_TRUE(paused);

    // Before play(): time and row stand still, frames take no time.
    EXPECT_EQ(0u, timer.getTime());
    ticks += 700;
    timer.updateSystem();
    EXPECT_EQ(0u, timer.getTime());
    EXPECT_EQ(0u, timer.getRow());
    EXPECT_EQ(0u, timer.updateFrameTime(123));
    EXPECT_EQ(0u, timer.getFMODTime());
}

TEST_F(FMODTimerTest, MissingOrBrokenMusicFailsWithTheLoggedCode)
{
    FMODTimer missing(MusicFixtures::tempPath("nothing_here.ogg"), 20);
    StdoutCapture capture;
    EXPECT_FALSE(missing.init());
    std::string out = capture.take();
    EXPECT_EQ(0u, out.find("Fmod Version = 65536\nFailed to create sound sysmte sound! Error code: 3\n")) << out;
    EXPECT_NE(std::string::npos, out.find("nothing_here.ogg")) << out;
    EXPECT_EQ("FMOD Init : Failed to load soundfile!", missing.getMessage());
    EXPECT_EQ(nullptr, missing.getSoundChannel());
    EXPECT_TRUE(missing.dispose());

    std::string garbage = MusicFixtures::tempPath("garbage.it");
    ASSERT_TRUE(MusicFixtures::writeBytes(garbage, std::vector<unsigned char>(3000, 0x5a)));
    FMODTimer broken(garbage, 20);
    StdoutCapture capture2;
    EXPECT_FALSE(broken.init());
    out = capture2.take();
    EXPECT_NE(std::string::npos, out.find("Failed to create sound sysmte sound! Error code: 4\n")) << out;
    EXPECT_NE(std::string::npos, out.find("garbage.it")) << out;
}

TEST_F(FMODTimerTest, StartPositionThenPlayGivesTheRowOfThatTime)
{
    FMODTimer timer(longMusic(), 20);
    ASSERT_TRUE(timer.init());
    timer.setTime(65000);
    EXPECT_EQ(65000u, timer.getFMODTime());
    timer.play();
    timer.updateSystem();
    unsigned int time = timer.getTime();
    unsigned int row = timer.getRow();
    EXPECT_GE(row, 1300u);
    EXPECT_LE(row, 1302u);
    EXPECT_GE(time, 65000u);
    EXPECT_LE(time - timer.updateFrameTime(time), 65000u);
    EXPECT_FALSE(timer.isPaused());
    bool paused = true;
    timer.getSoundChannel()->getPaused(&paused);
    EXPECT_FALSE(paused);
}

TEST_F(FMODTimerTest, RowsAndTimesConvertAtTheRowRate)
{
    unsigned int ticks = 0;
    FMODTimer timer(longMusic(), 20);
    timer.setTickSource(std::unique_ptr<TickSource>(new ManualTicks(&ticks)));
    ASSERT_TRUE(timer.init());
    timer.setRow(1301);
    EXPECT_EQ(65050u, timer.getTime());
    EXPECT_EQ(1301u, timer.getRow());
    EXPECT_EQ(65050u, timer.getRowTime());
    timer.setTime(65049);
    EXPECT_EQ(1300u, timer.getRow());
    EXPECT_EQ(65000u, timer.getRowTime());
    // updateSDLTime moves the clock, not the music.
    timer.updateSDLTime(1000);
    EXPECT_EQ(1000u, timer.getTime());
    EXPECT_EQ(65049u, timer.getFMODTime());

    FMODTimer quarter(longMusic(), 25);
    quarter.setTickSource(std::unique_ptr<TickSource>(new ManualTicks(&ticks)));
    ASSERT_TRUE(quarter.init());
    EXPECT_EQ(1750u, quarter.getEndRow());
    quarter.setRow(77);
    EXPECT_EQ(3080u, quarter.getRowTime());
}

TEST_F(FMODTimerTest, OddRowRatesNeitherDivideByZeroNorLoseTheEnd)
{
    FMODTimer none(longMusic(), 0);
    ASSERT_TRUE(none.init());
    none.setRow(50);
    EXPECT_EQ(0u, none.getRowTime());
    EXPECT_EQ(0u, none.getEndRow());
    FMODTimer fast(longMusic(), 2000);
    ASSERT_TRUE(fast.init());
    EXPECT_EQ(140000u, fast.getEndRow());
}

TEST_F(FMODTimerTest, FrameTimeIsTheStepBetweenFrames)
{
    unsigned int ticks = 100;
    FMODTimer timer(longMusic(), 20);
    timer.setTickSource(std::unique_ptr<TickSource>(new ManualTicks(&ticks)));
    ASSERT_TRUE(timer.init());
    timer.setTime(2000);
    timer.play();
    unsigned int start = timer.getTime();
    EXPECT_EQ(0u, timer.updateFrameTime(start));
    ticks += 16;
    EXPECT_EQ(16u, timer.updateFrameTime(timer.getTime()));
    ticks += 17;
    EXPECT_EQ(17u, timer.updateFrameTime(timer.getTime()));
    timer.pause();
    ticks += 500;
    EXPECT_EQ(0u, timer.updateFrameTime(timer.getTime()));
    EXPECT_EQ(start + 33, timer.getTime());
}

TEST_F(FMODTimerTest, PlayingFollowsTheMusicAndPauseHoldsIt)
{
    FMODTimer timer(toneMusic(), 20);
    ASSERT_TRUE(timer.init());
    timer.setTime(500);
    timer.play();
    for (int frame = 0; frame < 20; ++frame)
    {
        SDL_Delay(10);
        timer.updateSystem();
    }
    unsigned int clock = timer.getTime();
    unsigned int music = timer.getFMODTime();
    EXPECT_GT(clock, 600u);
    EXPECT_LE(std::max(clock, music) - std::min(clock, music), 30u) << clock << " " << music;

    timer.pause();
    unsigned int held = timer.getTime();
    unsigned int heldMusic = timer.getFMODTime();
    SDL_Delay(50);
    timer.updateSystem();
    EXPECT_EQ(held, timer.getTime());
    EXPECT_EQ(heldMusic, timer.getFMODTime());
    timer.play();
    EXPECT_LE(timer.getTime() - heldMusic, 2u);
}

TEST_F(FMODTimerTest, FixedStepReadsTheFrameGridAndKeepsTheMusicOffTheDevice)
{
    FMODTimer timer(toneMusic(), 20);
    timer.useFixedStep(60);
    EXPECT_TRUE(timer.isFixedStep());
    StdoutCapture capture;
    ASSERT_TRUE(timer.init());
    timer.setTime(1000);
    timer.play();
    for (unsigned int k = 0; k < 600; ++k)
    {
        timer.updateSystem();
        unsigned int time = timer.getTime();
        ASSERT_EQ(1000u + k * 1000u / 60u, time) << k;
        ASSERT_EQ(time * 20u / 1000u, timer.getRow());
        unsigned int step = timer.updateFrameTime(time);
        if (k > 0)
        {
            ASSERT_EQ(time - (1000u + (k - 1) * 1000u / 60u), step);
        }
        // The channel stands where the clock is.
        ASSERT_EQ(time, timer.getFMODTime());
        timer.advanceFrame();
    }
    bool paused = false;
    timer.getSoundChannel()->getPaused(&paused);
    EXPECT_TRUE(paused);
    // Nothing was opened: no fallback was needed, so none was announced.
    EXPECT_EQ("Fmod Version = 65536\n", capture.take());
}

TEST_F(FMODTimerTest, FixedStepRunsGiveIdenticalSpectra)
{
    auto run = [](std::vector<float>& all) {
        FMODTimer timer(toneMusic(), 20);
        timer.useFixedStep(50);
        if (!timer.init())
            return false;
        timer.setTime(250);
        timer.play();
        std::vector<float> left(64);
        std::vector<float> right(64);
        for (int k = 0; k < 40; ++k)
        {
            timer.updateSystem();
            if (timer.getSpectrum(left.data(), 64, 0, 1) != SOUND_OK ||
                timer.getSpectrum(right.data(), 64, 1, 1) != SOUND_OK)
                return false;
            all.insert(all.end(), left.begin(), left.end());
            all.insert(all.end(), right.begin(), right.end());
            timer.advanceFrame();
        }
        return true;
    };
    std::vector<float> first;
    std::vector<float> second;
    ASSERT_TRUE(run(first));
    ASSERT_TRUE(run(second));
    EXPECT_EQ(first, second);
    // And it is the music's spectrum: the left tone in band 20, the right in 40.
    const float* lastLeft = first.data() + first.size() - 128;
    const float* lastRight = lastLeft + 64;
    EXPECT_EQ(20, std::max_element(lastLeft, lastLeft + 64) - lastLeft);
    EXPECT_EQ(40, std::max_element(lastRight, lastRight + 64) - lastRight);
    EXPECT_NEAR(0.8, lastLeft[20], 0.1);
}

TEST_F(FMODTimerTest, SilentClockRunsFromTheStartPosition)
{
    unsigned int ticks = 40000;
    FMODTimer timer(20);
    timer.setTickSource(std::unique_ptr<TickSource>(new ManualTicks(&ticks)));
    StdoutCapture capture;
    ASSERT_TRUE(timer.init());
    EXPECT_EQ("No music: the clock runs silently\n", capture.take());
    EXPECT_TRUE(timer.isSilent());
    EXPECT_EQ(nullptr, timer.getSoundChannel());
    // The loader only positions it; it runs without play().
    timer.setTime(5000);
    ticks += 250;
    EXPECT_EQ(5250u, timer.getTime());
    EXPECT_EQ(105u, timer.getRow());
    EXPECT_EQ(250u, timer.updateFrameTime(timer.getTime()));
    timer.play();
    EXPECT_EQ(5250u, timer.getTime());
    timer.pause();
    ticks += 1000;
    EXPECT_EQ(5250u, timer.getTime());
    timer.play();
    ticks += 10;
    EXPECT_EQ(5260u, timer.getTime());

    std::vector<float> values(64, 3.0f);
    EXPECT_EQ(SOUND_OK, timer.getSpectrum(values.data(), 64, 1, 2));
    EXPECT_EQ(0.0f, *std::max_element(values.begin(), values.end()));
    EXPECT_EQ(SOUND_ERR_INVALID_PARAM, timer.getSpectrum(values.data(), 60, 0, 2));
    EXPECT_TRUE(timer.dispose());
}

TEST_F(FMODTimerTest, SilentClockWithFixedStep)
{
    FMODTimer timer(25);
    timer.useFixedStep(30);
    ASSERT_TRUE(timer.init());
    timer.setTime(90000);
    for (unsigned int k = 0; k < 100; ++k)
    {
        timer.updateSystem();
        ASSERT_EQ(90000u + k * 1000u / 30u, timer.getTime());
        timer.advanceFrame();
    }
}

TEST_F(FMODTimerTest, DisposeReleasesOnceAndReportsSuccess)
{
    FMODTimer timer(toneMusic(), 20);
    ASSERT_TRUE(timer.init());
    timer.play();
    EXPECT_TRUE(timer.dispose());
    EXPECT_EQ("", timer.getMessage());
    EXPECT_EQ(nullptr, timer.getSoundChannel());
    EXPECT_TRUE(timer.dispose());
    // Initialised twice: the second load replaces the first.
    FMODTimer twice(toneMusic(), 20);
    ASSERT_TRUE(twice.init());
    ASSERT_TRUE(twice.init());
    twice.setTime(100);
    EXPECT_EQ(100u, twice.getFMODTime());
    // A clock whose music has ended still shuts down cleanly.
    FMODTimer ended(toneMusic(), 20);
    ASSERT_TRUE(ended.init());
    ended.setTime(2990);
    ended.play();
    SDL_Delay(60);
    EXPECT_TRUE(ended.dispose());
}
