#include "tools/mrvsynth/Envelope.h"
#include "tools/mrvsynth/Instrument.h"
#include "tools/mrvsynth/Limiter.h"
#include "tools/mrvsynth/NoteName.h"
#include "tools/mrvsynth/ParamCurve.h"
#include "tools/mrvsynth/PingPongDelay.h"
#include "tools/mrvsynth/Reverb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
const float RATE = 44100.0f;

double energy(const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to && i < samples.size(); ++i)
        sum += static_cast<double>(samples[i]) * samples[i];
    return sum;
}
}

TEST(MrvsynthDspTest, NoteNamesAndPitches)
{
    int key = 0;
    ASSERT_TRUE(NoteName::parse("C4", key));
    EXPECT_EQ(key, 60);
    ASSERT_TRUE(NoteName::parse("A4", key));
    EXPECT_DOUBLE_EQ(NoteName::frequency(key), 440.0);
    ASSERT_TRUE(NoteName::parse("F#3", key));
    EXPECT_EQ(key, 54);
    ASSERT_TRUE(NoteName::parse("Bb2", key));
    EXPECT_EQ(key, 46);
    ASSERT_TRUE(NoteName::parse("B#3", key));
    EXPECT_EQ(key, 60);
    ASSERT_TRUE(NoteName::parse("C0", key));
    EXPECT_EQ(key, NoteName::LOWEST_KEY);
    ASSERT_TRUE(NoteName::parse("B8", key));
    EXPECT_EQ(key, NoteName::HIGHEST_KEY);
    EXPECT_NEAR(NoteName::frequency(57), 220.0, 1e-9);
    for (const char* wrong : {"", "C", "C#", "c4", "H2", "C9", "C10", "Cb0", "B#8", "C#b4", "Cx4"})
        EXPECT_FALSE(NoteName::parse(wrong, key)) << wrong;
}

TEST(MrvsynthDspTest, EnvelopeTimesMeanSixtyDecibels)
{
    // Attack of 10 ms reaches full level in 441 samples.
    Envelope envelope(0.01f, 0.5f, 0.5f, 0.2f, RATE);
    float level = 0.0f;
    for (int i = 0; i < 440; ++i)
        level = envelope.next(true);
    EXPECT_LT(level, 1.0f);
    EXPECT_FLOAT_EQ(envelope.next(true), 1.0f);
    // Held long, it settles on the sustain level.
    for (int i = 0; i < static_cast<int>(RATE); ++i)
        level = envelope.next(true);
    EXPECT_NEAR(level, 0.5f, 0.001f);
    // Released, it is 60 dB down after the release time and then finishes.
    EXPECT_FALSE(envelope.finished());
    for (int i = 0; i < static_cast<int>(0.2f * RATE); ++i)
        level = envelope.next(false);
    EXPECT_NEAR(level, 0.0005f, 0.00005f);
    EXPECT_FALSE(envelope.finished());
    for (int i = 0; i < static_cast<int>(0.2f * RATE); ++i)
        envelope.next(false);
    EXPECT_TRUE(envelope.finished());
}

TEST(MrvsynthDspTest, ParamCurveHoldsSweepsAndFallsBack)
{
    ParamCurve curve(2.0f);
    curve.addSegment(100, 200, 0.0f, 10.0f);
    curve.addSegment(300, 400, 5.0f, 5.0f);
    curve.addSegment(500, 500, 9.0f, 9.0f);  // empty: ignored
    EXPECT_FLOAT_EQ(curve.at(0), 2.0f);
    EXPECT_FLOAT_EQ(curve.at(99), 2.0f);
    EXPECT_FLOAT_EQ(curve.at(100), 0.0f);
    EXPECT_FLOAT_EQ(curve.at(150), 5.0f);
    EXPECT_FLOAT_EQ(curve.at(199), 9.9f);
    EXPECT_FLOAT_EQ(curve.at(200), 2.0f);
    EXPECT_FLOAT_EQ(curve.at(350), 5.0f);
    EXPECT_FLOAT_EQ(curve.at(400), 2.0f);
    EXPECT_FLOAT_EQ(curve.at(500), 2.0f);
    EXPECT_FLOAT_EQ(curve.peak(), 10.0f);

    std::vector<float> filled(420);
    curve.fill(50, filled.size(), filled.data());
    for (size_t i = 0; i < filled.size(); ++i)
        ASSERT_FLOAT_EQ(filled[i], curve.at(50 + i)) << i;

    ParamCurve flat(0.25f);
    flat.fill(7, filled.size(), filled.data());
    EXPECT_EQ(filled, std::vector<float>(filled.size(), 0.25f));
}

TEST(MrvsynthDspTest, DelayBouncesLeftRightLeft)
{
    StereoBuffer buffer(1000);
    buffer.left[0] = 1.0f;
    PingPongDelay(100, 0.5f, RATE).process(buffer, ParamCurve(1.0f));
    EXPECT_FLOAT_EQ(buffer.left[0], 1.0f);
    EXPECT_EQ(energy(buffer.left, 1, 100), 0.0);
    EXPECT_EQ(energy(buffer.right, 0, 200), 0.0);
    // Both sides meet in the echo line at half level, then each bounce loses
    // half and some highs; the sum of an echo survives its darkening.
    EXPECT_FLOAT_EQ(buffer.left[100], 0.5f);
    EXPECT_EQ(energy(buffer.left, 101, 300), 0.0);
    double second = 0.0;
    double third = 0.0;
    for (size_t i = 200; i < 300; ++i)
        second += buffer.right[i];
    for (size_t i = 300; i < 400; ++i)
        third += buffer.left[i];
    EXPECT_NEAR(second, 0.25, 0.005);
    EXPECT_NEAR(third, 0.125, 0.005);

    StereoBuffer dry(1000);
    dry.left[0] = 1.0f;
    PingPongDelay(100, 0.5f, RATE).process(dry, ParamCurve(0.0f));
    EXPECT_EQ(energy(dry.left, 1, 1000) + energy(dry.right, 0, 1000), 0.0);
}

TEST(MrvsynthDspTest, LimiterLooksAheadAndLeavesQuietSoundAlone)
{
    StereoBuffer buffer(20000);
    for (size_t i = 0; i < buffer.size(); ++i)
        buffer.left[i] = buffer.right[i] = 0.1f;
    buffer.left[1000] = 2.0f;
    buffer.right[1000] = -2.0f;
    const StereoBuffer quiet = buffer;
    Limiter(0.5f, RATE).process(buffer);

    for (size_t i = 0; i < buffer.size(); ++i)
        ASSERT_LE(std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i])), 0.5f) << i;
    EXPECT_NEAR(buffer.left[1000], 0.5f, 1e-6f);
    // Untouched until the look-ahead window reaches the peak...
    EXPECT_EQ(buffer.left[500], 0.1f);
    // ...lowered just before it, then recovering after it.
    EXPECT_LT(buffer.left[995], 0.05f);
    EXPECT_LT(buffer.left[1001], buffer.left[3000]);
    EXPECT_LT(buffer.left[3000], buffer.left[19999]);
    EXPECT_GT(buffer.left[19999], 0.099f);

    StereoBuffer untouched(500);
    for (size_t i = 0; i < untouched.size(); ++i)
        untouched.left[i] = untouched.right[i] = 0.5f * std::sin(0.01f * i);
    const StereoBuffer before = untouched;
    Limiter(0.5f, RATE).process(untouched);
    EXPECT_EQ(untouched.left, before.left);
    EXPECT_EQ(quiet.left[1000], 2.0f);
}

TEST(MrvsynthDspTest, ReverbTailIsDelayedWideDecayingAndThinInTheLows)
{
    const size_t length = static_cast<size_t>(3 * RATE);
    StereoBuffer impulse(length);
    impulse.left[0] = 1.0f;
    Reverb(RATE).process(impulse);
    EXPECT_EQ(energy(impulse.left, 0, 1000), 0.0);  // pre-delay
    const double early = energy(impulse.left, 0, length / 6);
    EXPECT_GT(early, 1e-4);
    EXPECT_LT(energy(impulse.left, 5 * length / 6, length), 1e-3 * early);
    EXPECT_NE(impulse.left, impulse.right);

    auto reverbOfSine = [&](float hz) {
        StereoBuffer sine(length / 3);
        for (size_t i = 0; i < sine.size(); ++i)
            sine.left[i] = sine.right[i] = std::sin(6.2831853f * hz * i / RATE);
        Reverb(RATE).process(sine);
        return energy(sine.left, 0, sine.size());
    };
    EXPECT_LT(reverbOfSine(40.0f), 0.1 * reverbOfSine(2000.0f));
}

TEST(MrvsynthDspTest, SynthNotesSpreadOnlyWhenAskedAndEnd)
{
    const std::unique_ptr<Instrument> synth = Instrument::create(Kind::Pad);
    NoteContext note;
    note.key = 57;
    note.gate = static_cast<uint64_t>(0.1f * RATE);
    note.params = InstrumentKind::defaults(Kind::Pad);
    note.params[P_ATTACK] = 0.01f;
    note.params[P_RELEASE] = 0.5f;

    StereoBuffer wide(static_cast<size_t>(RATE));
    synth->render(note, wide);
    EXPECT_NE(wide.left, wide.right);

    // Released at 0.1 s with a 0.5 s release: sounding until about 0.6 s,
    // silent from 0.1 + 1.4 x 0.5 s on.
    StereoBuffer narrow(static_cast<size_t>(RATE));
    note.params[P_SPREAD] = 0.0f;
    synth->render(note, narrow);
    EXPECT_EQ(narrow.left, narrow.right);
    EXPECT_GT(energy(narrow.left, static_cast<size_t>(0.55f * RATE), static_cast<size_t>(0.6f * RATE)), 0.0);
    EXPECT_EQ(energy(narrow.left, static_cast<size_t>(0.8f * RATE), narrow.size()), 0.0);

    // A note starting at the buffer's end writes nothing and stays inside.
    note.start = narrow.size();
    synth->render(note, narrow);
    note.start = narrow.size() - 10;
    synth->render(note, narrow);
    EXPECT_EQ(narrow.size(), static_cast<size_t>(RATE));
}
