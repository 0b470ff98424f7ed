// The effects' spectrum reader against the music clock it reads.
#include "production/effects/SpectrumFrame.h"

#include "tests/production/effects/SceneEffectHarness.h"

using namespace effecttest;

namespace {

class SpectrumFrameTest : public SceneEffectHarness
{
};

float largest(const float* values, int n)
{
    return *std::max_element(values, values + n);
}

} // namespace

TEST_F(SpectrumFrameTest, ReadsEachChannelInItsOwnWindowAndSumsThem)
{
    // A tone on band 3 in the left channel, a quieter one on band 10 in the
    // right.
    const auto left = tone(3, 0.5, true, false), right = tone(10, 0.25, false, true);
    playMusic("frame_tones.wav", 1.0, [&](int c, int64_t f) { return left(c, f) + right(c, f); }, 500);
    for (int window : { 1, 2 })
    {
        SpectrumFrame frame(64, window);
        frame.read();
        const std::vector<float> l = spectrum(0, window), r = spectrum(1, window);
        ASSERT_GT(l[3], 0.3f) << "the tone is heard";
        EXPECT_LT(r[3], 0.1f);
        EXPECT_EQ(frame.length(), 64);
        for (int i = 0; i < 64; ++i)
        {
            EXPECT_EQ(frame.left()[i], l[static_cast<size_t>(i)]) << window << ": " << i;
            EXPECT_EQ(frame.right()[i], r[static_cast<size_t>(i)]) << window << ": " << i;
            EXPECT_EQ(frame.sum()[i], l[static_cast<size_t>(i)] + r[static_cast<size_t>(i)]) << window << ": " << i;
        }
    }
}

TEST_F(SpectrumFrameTest, IsSilentWithoutAClockAndForALengthTheAnalyserRefuses)
{
    playMusic("frame_tone.wav", 1.0, tone(3, 0.5), 500);
    SpectrumFrame frame(64, 1);
    frame.read();
    ASSERT_GT(largest(frame.sum(), 64), 0.5f);

    // What the last frame heard does not stay on.
    MRVDemosys::timer = nullptr;
    frame.read();
    EXPECT_EQ(largest(frame.left(), 64), 0.0f);
    EXPECT_EQ(largest(frame.right(), 64), 0.0f);
    EXPECT_EQ(largest(frame.sum(), 64), 0.0f);

    MRVDemosys::timer = timer.get();
    SpectrumFrame refused(60, 1);
    refused.left()[0] = refused.right()[0] = refused.sum()[0] = 1.0f;
    refused.read();
    EXPECT_EQ(refused.length(), 60);
    EXPECT_EQ(largest(refused.left(), 60), 0.0f);
    EXPECT_EQ(largest(refused.sum(), 60), 0.0f);

    frame.clear();
    EXPECT_EQ(largest(frame.sum(), 64), 0.0f);
}
