#include "demosys/sound/SoundChannel.h"
#include "demosys/sound/SoundOutput.h"
#include "demosys/sound/SoundStream.h"
#include "demosys/sound/SoundSystem.h"
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
const int RATE = 48000;
const int64_t FRAMES = 2 * RATE;

float rampValue(int channel, int64_t frame)
{
    float v = static_cast<float>(frame) / FRAMES;
    return channel == 0 ? v : 0.5f * v;
}

// An output the test pulls by hand, on its own thread: every request is
// rendered at a stamp the test picks, so positions are exact.
class ManualOutput : public SoundOutput
{
public:
    ManualOutput(int64_t lead, int64_t limit) : lead(lead), limit(limit) {}

    bool open(int rate, RenderFunction r, void* u) override
    {
        sampleRate = rate;
        render = r;
        user = u;
        ++opens;
        return true;
    }
    void close() override { render = nullptr; }
    void lock() override {}
    void unlock() override {}
    int64_t getLeadFrames(int) const override { return lead; }
    int64_t getAdvanceLimit(int) const override { return limit; }
    bool isSilent() const override { return true; }

    std::vector<float> pull(int frames, uint64_t stamp)
    {
        std::vector<float> out(static_cast<size_t>(frames) * 2, 99.0f);
        if (render)
            render(user, out.data(), frames, stamp);
        return out;
    }
    std::vector<float> pull(int frames) { return pull(frames, SDL_GetPerformanceCounter()); }

    int opens = 0;

private:
    int64_t lead;
    int64_t limit;
    RenderFunction render = nullptr;
    void* user = nullptr;
};

class SoundChannelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = MusicFixtures::tempPath("channel_ramp.wav");
        static bool written = false;
        if (!written)
            written = MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, RATE, 2, FRAMES, rampValue);
        ASSERT_TRUE(written);
        output = new ManualOutput(0, 0);
        system.useOutput(std::unique_ptr<SoundOutput>(output));
        ASSERT_EQ(SOUND_OK, system.init(4));
        ASSERT_EQ(SOUND_OK, system.createStream(path, &stream));
        ASSERT_EQ(SOUND_OK, system.playSound(stream, true, &channel));
    }

    uint64_t position()
    {
        uint64_t frame = 0;
        EXPECT_EQ(SOUND_OK, channel->getPositionFrames(&frame));
        return frame;
    }

    std::string path;
    SoundSystem system;
    ManualOutput* output = nullptr;
    SoundStream* stream = nullptr;
    SoundChannel* channel = nullptr;
};
}

TEST_F(SoundChannelTest, StartsPausedAndSilentWithoutOpeningTheOutput)
{
    unsigned int length = 0;
    EXPECT_EQ(SOUND_OK, stream->getLength(&length));
    EXPECT_EQ(2000u, length);
    bool paused = false;
    bool playing = false;
    EXPECT_EQ(SOUND_OK, channel->getPaused(&paused));
    EXPECT_EQ(SOUND_OK, channel->isPlaying(&playing));
    EXPECT_TRUE(paused);
    EXPECT_TRUE(playing);
    EXPECT_FALSE(system.isOutputOpen());
    EXPECT_EQ(0, output->opens);
    EXPECT_EQ(0u, position());
}

TEST_F(SoundChannelTest, PlaysTheFileFromItsPositionAndIsSilentWhilePaused)
{
    ASSERT_EQ(SOUND_OK, channel->setPositionFrames(1000));
    ASSERT_EQ(SOUND_OK, channel->setPaused(false));
    EXPECT_EQ(1, output->opens);
    std::vector<float> mixed = output->pull(300);
    for (int i = 0; i < 300; i += 37)
    {
        EXPECT_EQ(rampValue(0, 1000 + i), mixed[static_cast<size_t>(i) * 2]) << i;
        EXPECT_EQ(rampValue(1, 1000 + i), mixed[static_cast<size_t>(i) * 2 + 1]) << i;
    }
    EXPECT_EQ(1300u, position());

    ASSERT_EQ(SOUND_OK, channel->setPaused(true));
    std::vector<float> quiet = output->pull(256);
    for (float v : quiet)
        ASSERT_EQ(0.0f, v);
    EXPECT_EQ(1300u, position());

    // Resumes on the next frame, with no gap and no repeat.
    ASSERT_EQ(SOUND_OK, channel->setPaused(false));
    mixed = output->pull(2);
    EXPECT_EQ(rampValue(0, 1300), mixed[0]);
    EXPECT_EQ(1302u, position());
}

TEST_F(SoundChannelTest, MillisecondPositionsReadBackUnchanged)
{
    for (unsigned int ms : {0u, 1u, 7u, 999u, 1234u, 1999u})
    {
        ASSERT_EQ(SOUND_OK, channel->setPosition(ms));
        unsigned int back = 0;
        ASSERT_EQ(SOUND_OK, channel->getPosition(&back));
        EXPECT_EQ(ms, back);
    }
    // At 44.1 kHz a millisecond is not a whole number of frames.
    std::string odd = MusicFixtures::tempPath("channel_44k.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(odd, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 1, 44100,
                                          [](int, int64_t) { return 0.0f; }));
    SoundStream* other = nullptr;
    SoundChannel* second = nullptr;
    ASSERT_EQ(SOUND_OK, system.createStream(odd, &other));
    ASSERT_EQ(SOUND_OK, system.playSound(other, true, &second));
    EXPECT_NE(channel, second);
    for (unsigned int ms = 0; ms < 1000; ms += 7)
    {
        second->setPosition(ms);
        unsigned int back = 0;
        second->getPosition(&back);
        ASSERT_EQ(ms, back);
    }
}

TEST_F(SoundChannelTest, SeekWhilePlayingIsSampleExact)
{
    ASSERT_EQ(SOUND_OK, channel->setPaused(false));
    output->pull(500);
    ASSERT_EQ(SOUND_OK, channel->setPositionFrames(77777));
    EXPECT_EQ(77777u, position());
    std::vector<float> mixed = output->pull(1);
    EXPECT_EQ(rampValue(0, 77777), mixed[0]);
}

TEST_F(SoundChannelTest, EndsAtTheEndOfTheMusicWithSilenceAfter)
{
    channel->setPositionFrames(FRAMES - 100);
    channel->setPaused(false);
    std::vector<float> mixed = output->pull(300);
    EXPECT_EQ(rampValue(0, FRAMES - 1), mixed[99 * 2]);
    EXPECT_EQ(0.0f, mixed[100 * 2]);
    EXPECT_EQ(0.0f, mixed[299 * 2 + 1]);
    bool playing = true;
    channel->isPlaying(&playing);
    EXPECT_FALSE(playing);
    double ms = 0.0;
    EXPECT_FALSE(channel->readHeardPosition(ms));
    // Positioning inside the music again brings it back.
    channel->setPositionFrames(10);
    channel->isPlaying(&playing);
    EXPECT_TRUE(playing);
    EXPECT_EQ(rampValue(0, 10), output->pull(1)[0]);
}

TEST_F(SoundChannelTest, StopAndReleaseLeaveNothingPlaying)
{
    channel->setPaused(false);
    ASSERT_EQ(SOUND_OK, channel->stop());
    bool playing = true;
    EXPECT_EQ(SOUND_OK, channel->isPlaying(&playing));
    EXPECT_FALSE(playing);
    EXPECT_EQ(SOUND_ERR_INVALID_HANDLE, channel->setPaused(false));
    for (float v : output->pull(64))
        ASSERT_EQ(0.0f, v);

    ASSERT_EQ(SOUND_OK, system.playSound(stream, false, &channel));
    EXPECT_EQ(rampValue(0, 0), output->pull(1)[0]);
    ASSERT_EQ(SOUND_OK, stream->release());
    for (float v : output->pull(64))
        ASSERT_EQ(0.0f, v);
    EXPECT_EQ(SOUND_ERR_INVALID_HANDLE, system.playSound(stream, false, &channel));
    EXPECT_EQ(nullptr, channel);
}

TEST_F(SoundChannelTest, AllChannelsBusyIsReported)
{
    std::vector<SoundStream*> streams;
    SoundChannel* c = nullptr;
    for (int i = 0; i < 3; ++i)
    {
        SoundStream* s = nullptr;
        ASSERT_EQ(SOUND_OK, system.createStream(path, &s));
        ASSERT_EQ(SOUND_OK, system.playSound(s, true, &c));
    }
    SoundStream* fifth = nullptr;
    ASSERT_EQ(SOUND_OK, system.createStream(path, &fifth));
    EXPECT_EQ(SOUND_ERR_NO_FREE_CHANNEL, system.playSound(fifth, true, &c));
    EXPECT_EQ(nullptr, c);
    EXPECT_FALSE(system.getErrorMessage().empty());
}

TEST(SoundSystemTest, CreateStreamReportsMissingAndBrokenFiles)
{
    SoundSystem system;
    SoundStream* stream = reinterpret_cast<SoundStream*>(1);
    EXPECT_EQ(SOUND_ERR_NOT_INITIALISED, system.createStream("x.wav", &stream));
    EXPECT_EQ(nullptr, stream);
    ASSERT_EQ(SOUND_OK, system.init(2));
    EXPECT_EQ(SOUND_ERR_FILE_NOT_FOUND, system.createStream(MusicFixtures::tempPath("none.ogg"), &stream));
    EXPECT_NE(std::string::npos, system.getErrorMessage().find("none.ogg"));
    std::string broken = MusicFixtures::tempPath("broken.xm");
    ASSERT_TRUE(MusicFixtures::writeBytes(broken, {'E', 'x', 't', 'e', 'n', 'd', 'e', 'd', 0, 1, 2}));
    EXPECT_EQ(SOUND_ERR_FORMAT, system.createStream(broken, &stream));
    EXPECT_EQ(nullptr, stream);
    EXPECT_EQ(SOUND_ERR_INVALID_PARAM, SoundSystem().init(0));
}

TEST(SoundPositionTest, HeardPositionTrailsTheMixByTheOutputsLead)
{
    std::string path = MusicFixtures::tempPath("lead.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, RATE, 2, FRAMES,
                                          [](int, int64_t) { return 0.0f; }));
    SoundSystem system;
    auto* output = new ManualOutput(512 + 256, 512);
    system.useOutput(std::unique_ptr<SoundOutput>(output));
    system.init(1);
    SoundStream* stream = nullptr;
    SoundChannel* channel = nullptr;
    ASSERT_EQ(SOUND_OK, system.createStream(path, &stream));
    ASSERT_EQ(SOUND_OK, system.playSound(stream, false, &channel));
    uint64_t frame = 99;

    // Nothing heard yet: the start position, never less.
    output->pull(512);
    channel->getPositionFrames(&frame);
    EXPECT_EQ(0u, frame);
    // Long after the request the listener has heard the whole chunk in front
    // of it, but no more than the output vouches for.
    uint64_t longAgo = SDL_GetPerformanceCounter() - SDL_GetPerformanceFrequency();
    output->pull(512, longAgo);
    channel->getPositionFrames(&frame);
    EXPECT_EQ(1024u - 256u, frame);
    // Pausing keeps what was heard; the unheard rest is played after resuming.
    channel->setPaused(true);
    channel->getPositionFrames(&frame);
    EXPECT_EQ(768u, frame);
}

TEST(SoundOutputTest, WithoutADeviceTheMusicGoesOnSilentlyInRealTime)
{
    std::string path = MusicFixtures::tempPath("fallback.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, RATE, 2, FRAMES,
                                          [](int, int64_t) { return 0.1f; }));
    const char* old = std::getenv("SDL_AUDIODRIVER");
    std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "mrv_no_such_driver", 1);
    StdoutCapture capture;
    {
        SoundSystem system;
        ASSERT_EQ(SOUND_OK, system.init(1));
        SoundStream* stream = nullptr;
        SoundChannel* channel = nullptr;
        ASSERT_EQ(SOUND_OK, system.createStream(path, &stream));
        ASSERT_EQ(SOUND_OK, system.playSound(stream, false, &channel));
        EXPECT_TRUE(system.isSilentOutput());
        uint32_t start = SDL_GetTicks();
        SDL_Delay(200);
        unsigned int ms = 0;
        channel->getPosition(&ms);
        uint32_t elapsed = SDL_GetTicks() - start;
        EXPECT_GE(ms + 30, elapsed);
        EXPECT_LE(ms, elapsed + 30);
        // A second unpause (after a pause) does not announce it again.
        channel->setPaused(true);
        channel->setPaused(false);
        system.update();
    }
    std::string out = capture.take();
    if (old)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ(1u, std::count(out.begin(), out.end(), '\n')) << out;
    EXPECT_EQ(0u, out.find("No audio device (")) << out;
    EXPECT_NE(std::string::npos, out.find("the music plays on silently at real-time speed")) << out;
}

TEST(SoundOutputTest, ForcedSilentOutputSaysNothing)
{
    std::string path = MusicFixtures::tempPath("forced.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, RATE, 1, RATE,
                                          [](int, int64_t) { return 0.0f; }));
    StdoutCapture capture;
    SoundSystem system;
    ASSERT_EQ(SOUND_OK, system.init(1, SoundSystem::INIT_SILENT_OUTPUT));
    SoundStream* stream = nullptr;
    SoundChannel* channel = nullptr;
    ASSERT_EQ(SOUND_OK, system.createStream(path, &stream));
    ASSERT_EQ(SOUND_OK, system.playSound(stream, false, &channel));
    EXPECT_TRUE(system.isSilentOutput());
    EXPECT_EQ("", capture.take());
}

TEST(SoundOutputTest, PlaysThroughAnSdlDevice)
{
    // SDL's dummy driver stands for a real device: same locking, same thread.
    std::string path = MusicFixtures::tempPath("device.wav");
    ASSERT_TRUE(MusicFixtures::writeSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, RATE, 2, FRAMES,
                                          [](int, int64_t) { return 0.1f; }));
    const char* old = std::getenv("SDL_AUDIODRIVER");
    std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    StdoutCapture capture;
    {
        SoundSystem system;
        ASSERT_EQ(SOUND_OK, system.init(2));
        SoundStream* stream = nullptr;
        SoundChannel* channel = nullptr;
        ASSERT_EQ(SOUND_OK, system.createStream(path, &stream));
        ASSERT_EQ(SOUND_OK, system.playSound(stream, false, &channel));
        EXPECT_TRUE(system.isOutputOpen());
        EXPECT_FALSE(system.isSilentOutput());
        unsigned int ms = 0;
        for (int i = 0; i < 50 && ms == 0; ++i)
        {
            SDL_Delay(10);
            EXPECT_EQ(SOUND_OK, system.update());
            channel->getPosition(&ms);
        }
        EXPECT_GT(ms, 0u);
        channel->setPaused(true);
        channel->getPosition(&ms);
        SDL_Delay(50);
        unsigned int held = 0;
        channel->getPosition(&held);
        EXPECT_EQ(ms, held);
    }
    if (old)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    EXPECT_EQ("", capture.take());
}
