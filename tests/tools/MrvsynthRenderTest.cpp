#include "tools/mrvsynth/ScoreParser.h"
#include "tools/mrvsynth/SongRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{
const double PI = 3.141592653589793;
const int RATE = Score::SAMPLE_RATE;

StereoBuffer render(const std::string& text)
{
    ScoreParser parser("test.score");
    Score score;
    EXPECT_TRUE(parser.parse(text, score)) << parser.getError();
    return SongRenderer(score).render();
}

// Energy of frames [from, to) of the left channel.
double energy(const StereoBuffer& sound, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to && i < sound.size(); ++i)
        sum += static_cast<double>(sound.left[i]) * sound.left[i];
    return sum;
}

// The share of the energy of frames [0, n) of the left channel that lies
// below `hz`, from a plain DFT of the low bins and Parseval's theorem.
double shareBelow(const StereoBuffer& sound, size_t n, double hz)
{
    const size_t bins = static_cast<size_t>(hz * n / RATE);
    double low = 0.0;
    for (size_t k = 0; k <= bins; ++k)
    {
        double re = 0.0;
        double im = 0.0;
        for (size_t i = 0; i < n; ++i)
        {
            re += sound.left[i] * std::cos(2.0 * PI * k * i / n);
            im -= sound.left[i] * std::sin(2.0 * PI * k * i / n);
        }
        low += (k == 0 ? 1.0 : 2.0) * (re * re + im * im) / n;
    }
    return low / energy(sound, 0, n);
}

// Magnitude of one frequency over frames [from, from + n) (Goertzel).
double magnitudeAt(const StereoBuffer& sound, size_t from, size_t n, double hz)
{
    const double coefficient = 2.0 * std::cos(2.0 * PI * hz / RATE);
    double s1 = 0.0;
    double s2 = 0.0;
    for (size_t i = from; i < from + n; ++i)
    {
        const double s0 = sound.left[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(s1 * s1 + s2 * s2 - coefficient * s1 * s2) / n;
}

// The pitch of a settled tone from its zero crossings in [from, to).
double crossingHz(const StereoBuffer& sound, size_t from, size_t to)
{
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if ((sound.left[i - 1] < 0.0f) != (sound.left[i] < 0.0f))
            ++crossings;
    return crossings * 0.5 * RATE / static_cast<double>(to - from);
}

float peak(const StereoBuffer& sound)
{
    float highest = 0.0f;
    for (size_t i = 0; i < sound.size(); ++i)
        highest = std::max({highest, std::fabs(sound.left[i]), std::fabs(sound.right[i])});
    return highest;
}

const char* const BAND = "tempo 120\n"
                         "track kick kick\ntrack bass bass\n  duck 0.5\ntrack pad pad\n  reverb 0.5\n"
                         "track hat hat\n  pan 0.4\ntrack lead lead\n  delay 0.4\n"
                         "pattern four\n  x . . . x . . . x . . . x . . .\n"
                         "pattern hats\n  . . x . . . x o . . x . . . x .\n"
                         "pattern line\n  A1 . A2 . C2 . A2 . G1 . G2 . E2 . G2 .\n"
                         "pattern chord\n  A3+C4+E4:16\n"
                         "pattern tune\n  E5:3 D5:3 C5:2 A4:8\n"
                         "section s 1\n  kick four\n  bass line\n  pad chord\n  hat hats\n  lead tune\n"
                         "  sweep pad cutoff 400 3000\n"
                         "song s\n";
}

TEST(MrvsynthRenderTest, SameScoreRendersTheSameSamples)
{
    const StereoBuffer first = render(BAND);
    const StereoBuffer second = render(BAND);
    ASSERT_EQ(first.size(), 88200u);
    EXPECT_GT(peak(first), 0.1f);
    EXPECT_TRUE(first.left == second.left);
    EXPECT_TRUE(first.right == second.right);
    // Panned and spread tracks make the two sides differ.
    EXPECT_FALSE(first.left == first.right);
}

TEST(MrvsynthRenderTest, LengthFollowsTempoAndSteps)
{
    // Whatever the notes, the song lasts its steps: 2 bars of 3 beats of 4
    // steps at 150 BPM, 4410 samples a step, with a note ringing past the end.
    const StereoBuffer waltz = render("tempo 150\nbeats 3\ntrack p pad\npattern long\n  A3:24\n"
                                      "section s 2\n  p long\nsong s\n");
    EXPECT_EQ(waltz.size(), 2u * 12u * 4410u);

    // 5512.5 samples a step at 120 BPM, counted without drift: 3 sections of
    // one bar.
    const StereoBuffer three = render("tempo 120\nsection s 1\nsong s s s\n");
    EXPECT_EQ(three.size(), 3u * 88200u);
}

TEST(MrvsynthRenderTest, RestsAndSilentTracksRenderSilence)
{
    const StereoBuffer quiet = render("track k kick\ntrack b bass\n  volume 0\n"
                                      "pattern rests\n  . . . .\npattern notes\n  A2 A2 A2 A2\n"
                                      "section s 1\n  k rests\n  b notes\nsong s\n");
    ASSERT_EQ(quiet.size(), 88200u);
    EXPECT_EQ(peak(quiet), 0.0f);
}

TEST(MrvsynthRenderTest, KickSitsInTheLowsAndHatInTheHighs)
{
    const StereoBuffer kick = render("track k kick\npattern one\n  x:16\nsection s 1\n  k one\nsong s\n");
    EXPECT_GT(energy(kick, 0, 8192), 10.0);
    EXPECT_GT(shareBelow(kick, 8192, 150.0), 0.7);

    const StereoBuffer hat = render("track h hat\n  decay 0.1\npattern one\n  x:16\nsection s 1\n  h one\nsong s\n");
    EXPECT_GT(energy(hat, 0, 4096), 1.0);
    EXPECT_LT(shareBelow(hat, 4096, 2000.0), 0.05);
}

TEST(MrvsynthRenderTest, NotesSoundAtTheirPitch)
{
    // A4 on a plain lead: 440 Hz, nothing a semitone either side.
    const StereoBuffer lead = render("track l lead\n  unison 1 vibrato 0 square 0 pwm 0\n"
                                     "pattern a\n  A4:16\nsection s 1\n  l a\nsong s\n");
    const double at = magnitudeAt(lead, 4410, 44100, 440.0);
    EXPECT_GT(at, 0.01);
    EXPECT_GT(at, 20.0 * magnitudeAt(lead, 4410, 44100, 466.16));
    EXPECT_GT(at, 20.0 * magnitudeAt(lead, 4410, 44100, 415.30));

    // A kick settles on its own pitch after the sweep, or on a note's:
    // 48 Hz by default, A1 = 55 Hz as a tom.
    const char* const drum = "track t kick\n  decay 1 drive 0 click 0\nsection s 1\n  t a\nsong s\n";
    const StereoBuffer kick = render(std::string("pattern a\n  x:16\n") + drum);
    EXPECT_NEAR(crossingHz(kick, RATE / 4, RATE), 48.0, 1.5);
    const StereoBuffer tom = render(std::string("pattern a\n  A1:16\n") + drum);
    EXPECT_NEAR(crossingHz(tom, RATE / 4, RATE), 55.0, 1.5);
}

TEST(MrvsynthRenderTest, LimiterKeepsEveryPeakUnderTheCeiling)
{
    const StereoBuffer loud = render("master 8\ntrack k kick\n  volume 4 drive 10\ntrack b bass\n  volume 4\n"
                                     "track s snare\n  volume 4\n"
                                     "pattern four\n  x . . . x . . . x . . . x . . .\n"
                                     "pattern line\n  A1 A1 A2 A1\n"
                                     "section s 2\n  k four\n  b line\n  s four\nsong s\n");
    const float highest = peak(loud);
    EXPECT_LE(highest, SongRenderer::CEILING + 1e-6f);
    // Limited, not silenced.
    EXPECT_GT(highest, 0.9f * SongRenderer::CEILING);
}

TEST(MrvsynthRenderTest, SweepsAndDuckingShapeTheLevel)
{
    // A held bass note faded in by a volume sweep over two bars.
    const StereoBuffer fade = render("track b bass\n  sustain 1\npattern held\n  A2:32\n"
                                     "section s 2\n  b held\n  sweep b volume 0 1\nsong s\n");
    const double firstQuarter = energy(fade, 0, 44100);
    const double lastQuarter = energy(fade, 3 * 44100, 4 * 44100);
    EXPECT_GT(lastQuarter, 10.0 * firstQuarter);
    EXPECT_GT(lastQuarter, 1.0);

    // The same note ducked fully by a silent kick on every beat: quiet just
    // after each hit, back to level just before the next.
    const StereoBuffer ducked = render("track k kick\n  volume 0\ntrack b bass\n  sustain 1 duck 1\n"
                                       "pattern four\n  x . . . x . . . x . . . x . . .\npattern held\n  A2:16\n"
                                       "section s 1\n  k four\n  b held\nsong s\n");
    const size_t beat = RATE / 2;
    const double afterHit = energy(ducked, beat + 200, beat + 1500);
    const double beforeNext = energy(ducked, 2 * beat - 1300, 2 * beat);
    EXPECT_GT(beforeNext, 20.0 * afterHit);
}
