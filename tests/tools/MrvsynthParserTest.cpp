#include "tools/mrvsynth/Arrangement.h"
#include "tools/mrvsynth/ScoreParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The error a score text gives, "" when it parses.
std::string errorOf(const std::string& text)
{
    ScoreParser parser("song.score");
    Score score;
    const bool ok = parser.parse(text, score);
    EXPECT_EQ(ok, parser.getError().empty());
    return parser.getError();
}

Score parsed(const std::string& text)
{
    ScoreParser parser("song.score");
    Score score;
    EXPECT_TRUE(parser.parse(text, score)) << parser.getError();
    return score;
}

struct Case
{
    std::string text;
    std::string error;
};

const char* const STEP_EXPECTED = "expected a step ('.' rest, '-' hold, 'x' or 'o' hit, or notes like C3 or "
                                  "A3+C4+E4, each with an optional :LENGTH and @VELOCITY)";
}

TEST(MrvsynthParserTest, ErrorsNameFileLineAndExpectation)
{
    const std::string song = "pattern p\n  x\nsection s 1\n";
    const Case cases[] = {
        {"tempo 130\n",
         "song.score:1: expected a tempo that puts every beat on a row at 20 rows per second (1200 divided by the "
         "tempo a whole number), found '130'"},
        {"rowrate 25\ntempo 120\n",
         "song.score:2: expected a tempo that puts every beat on a row at 25 rows per second (1500 divided by the "
         "tempo a whole number), found '120'"},
        {"tempo 301\n", "song.score:1: expected a tempo in beats per minute from 30 to 300, found '301'"},
        {"tempo\n", "song.score:1: expected 'tempo N'"},
        {"tempo 120 4\n", "song.score:1: expected 'tempo N', found '4' after it"},
        {"tempo 120\n\ntempo 100\n", "song.score:3: expected 'tempo' once only"},
        {"track k kick\ntempo 120\n", "song.score:2: expected 'tempo' before the first track, pattern, section or song"},
        {"master loud\n", "song.score:1: expected a master gain from 0 to 8, found 'loud'"},
        {"# comment\nbogus 1\n",
         "song.score:2: expected a statement (tempo, steps, beats, rowrate, master, track, pattern, section, song), "
         "found 'bogus'"},
        {"track k drum\n",
         "song.score:1: expected an instrument kind (kick, snare, clap, hat, riser, bass, pad, lead, pluck), found "
         "'drum'"},
        {"track song kick\n",
         "song.score:1: expected a track name of letters, digits and '_' that is not a keyword, found 'song'"},
        {"track k-1 kick\n",
         "song.score:1: expected a track name of letters, digits and '_' that is not a keyword, found 'k-1'"},
        {"track k kick\ntrack k snare\n", "song.score:2: expected a track name not used before, found 'k'"},
        {"track k kick\n  cutoff 100\n",
         "song.score:2: expected a parameter of a kick (volume, pan, reverb, delay, delaysteps, feedback, duck, "
         "pitch, punch, sweep, click, decay, drive), found 'cutoff'"},
        {"track k kick\n  volume 1 pan 3\n", "song.score:2: expected a number from -1 to 1 for pan of track 'k', found '3'"},
        {"track k kick\n  pan nan\n", "song.score:2: expected a number from -1 to 1 for pan of track 'k', found 'nan'"},
        {"track p pad\n  unison 2.5\n",
         "song.score:2: expected a whole number from 1 to 7 for unison of track 'p', found '2.5'"},
        {"track k kick\n  volume\n", "song.score:2: expected 'PARAMETER VALUE' pairs, found 'volume' without a value"},
        {"pattern p\n  x . H3\n", std::string("song.score:2: ") + STEP_EXPECTED + ", found 'H3'"},
        {"pattern p\n  - x\n", "song.score:2: expected a note before the hold '-', found '-'"},
        {"pattern p\n  x\n  . -\n", "song.score:3: expected a note before the hold '-', found '-'"},
        {"pattern p\n  A3+C4+Q4\n", "song.score:2: expected a note from C0 to B8 like C3, F#4 or Bb2 in 'A3+C4+Q4', found 'Q4'"},
        {"pattern p\n  C9\n", std::string("song.score:2: ") + STEP_EXPECTED + ", found 'C9'"},
        {"pattern p\n  C4+D4+E4+F4+G4+A4+B4+C5+D5\n",
         "song.score:2: expected at most 8 notes in a chord, found 'C4+D4+E4+F4+G4+A4+B4+C5+D5'"},
        {"pattern p\n  C4:0\n", "song.score:2: expected a note length in steps from 1 to 4096, found '0'"},
        {"pattern p\n  C4:4096 x\n", "song.score:2: expected at most 4096 steps in a pattern, found 'x'"},
        {"pattern p\n  C4@1.5\n", "song.score:2: expected a velocity above 0 and at most 1 after '@', found '1.5'"},
        {"pattern p\n  C4@0.5:2\n", std::string("song.score:2: ") + STEP_EXPECTED + ", found 'C4@0.5:2'"},
        {"pattern p\n\npattern q\n  x\n", "song.score:1: expected steps after 'pattern p'"},
        {"pattern p\n  x\nsection s 0\n", "song.score:3: expected a section length in bars from 1 to 1000, found '0'"},
        {"track k kick\n" + song + "  k nothing\n",
         "song.score:5: expected a pattern defined above, NAME+SEMITONES, NAME-SEMITONES or '.' for a bar of rest, "
         "found 'nothing'"},
        {"track k kick\n" + song + "  k p+50\n", "song.score:5: expected a transposition in semitones from 0 to 48, found '50'"},
        {song + "  x p\n", "song.score:4: expected a track defined above, 'set' or 'sweep', found 'x'"},
        {"track k kick\n" + song + "  k p\n  k p\n", "song.score:6: expected each track once per section, found 'k'"},
        {"track k kick\n" + song + "  k\n", "song.score:5: expected patterns after the track name 'k'"},
        {"track k kick\n" + song + "  sweep k pitch 40\n", "song.score:5: expected 'sweep TRACK PARAMETER FROM TO'"},
        {"track k kick\n" + song + "  set k feedback 0.5\n",
         "song.score:5: expected a parameter that can change during the song (not delaysteps, feedback or unison), "
         "found 'feedback'"},
        {"track k kick\n" + song + "  set k volume 1\n  sweep k volume 0 1\n",
         "song.score:6: expected each parameter of a track set or swept once per section, found 'volume'"},
        {"track k kick\n" + song + "  set k volume 5\n",
         "song.score:5: expected a number from 0 to 4 for volume of track 'k', found '5'"},
        {song + "song s nothing\n", "song.score:4: expected a section defined above, found 'nothing'"},
        {song + "\n\n", "song.score:5: expected a 'song SECTION...' line"},
        {"section s 1000\nsong s\n",
         "song.score:2: expected a song of at most 20 minutes, found 2000 seconds with 's'"},
        {std::string("tempo 120\n\0\n", 12), "song.score:2: expected text without zero bytes"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(errorOf(c.text), c.error) << c.text;
}

TEST(MrvsynthParserTest, FileErrorsNameTheFile)
{
    ScoreParser missing("/nonexistent/song.score");
    Score score;
    EXPECT_FALSE(missing.parseFile(score));
    EXPECT_EQ(missing.getError(), "/nonexistent/song.score: expected a readable score file");

    ScoreParser big("big.score");
    EXPECT_FALSE(big.parse(std::string(ScoreParser::MAX_BYTES + 1, '#'), score));
    EXPECT_EQ(big.getError(), "big.score: expected a score of at most 1048576 bytes");
}

TEST(MrvsynthParserTest, ReadsTracksPatternsSectionsAndSong)
{
    const Score score = parsed("rowrate 25\ntempo 100   # 15 rows a beat\nsteps 3\nbeats 2\nmaster 0.5\n"
                               "track lead lead\n  volume 0.7 pan -0.25\r\n  cutoff 900\n"
                               "track drums kick\n"
                               "pattern riff\n  A3+C4+E4:2 - . E5@0.5\n  x o:2@0.5 Bb2\n"
                               "section verse 2\n  lead riff-12 . riff+3\n  drums riff\n"
                               "  sweep lead cutoff 500 2000\n  set drums volume 0.2\n"
                               "section chorus 1\n"
                               "song verse\nsong chorus verse\n");
    EXPECT_EQ(score.tempo, 100);
    EXPECT_EQ(score.stepsPerBeat, 3);
    EXPECT_EQ(score.beatsPerBar, 2);
    EXPECT_EQ(score.rowRate, 25);
    EXPECT_FLOAT_EQ(score.master, 0.5f);

    ASSERT_EQ(score.tracks.size(), 2u);
    EXPECT_EQ(score.tracks[0].kind, Kind::Lead);
    EXPECT_FLOAT_EQ(score.tracks[0].values[P_VOLUME], 0.7f);
    EXPECT_FLOAT_EQ(score.tracks[0].values[P_PAN], -0.25f);
    EXPECT_FLOAT_EQ(score.tracks[0].values[P_CUTOFF], 900.0f);
    EXPECT_FLOAT_EQ(score.tracks[0].values[P_VIBDELAY], InstrumentKind::defaults(Kind::Lead)[P_VIBDELAY]);
    EXPECT_EQ(score.tracks[1].kind, Kind::Kick);

    ASSERT_EQ(score.patterns.size(), 1u);
    const Pattern& riff = score.patterns[0];
    EXPECT_EQ(riff.steps, 9u);
    // step, length, key, velocity: the chord held a step longer by '-'.
    const std::vector<ScoreNote> expected = {{0, 3, 57, 1.0f},  {0, 3, 60, 1.0f},  {0, 3, 64, 1.0f},
                                             {4, 1, 76, 0.5f},  {5, 1, ScoreNote::HIT, 1.0f},
                                             {6, 2, ScoreNote::HIT, 0.25f}, {8, 1, 46, 1.0f}};
    ASSERT_EQ(riff.notes.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(riff.notes[i].step, expected[i].step) << i;
        EXPECT_EQ(riff.notes[i].length, expected[i].length) << i;
        EXPECT_EQ(riff.notes[i].key, expected[i].key) << i;
        EXPECT_FLOAT_EQ(riff.notes[i].velocity, expected[i].velocity) << i;
    }

    ASSERT_EQ(score.sections.size(), 2u);
    const Section& verse = score.sections[0];
    EXPECT_EQ(verse.bars, 2u);
    ASSERT_EQ(verse.parts.size(), 2u);
    ASSERT_EQ(verse.parts[0].sequence.size(), 3u);
    EXPECT_EQ(verse.parts[0].sequence[0].pattern, 0);
    EXPECT_EQ(verse.parts[0].sequence[0].transpose, -12);
    EXPECT_EQ(verse.parts[0].sequence[1].pattern, PatternRef::REST_BAR);
    EXPECT_EQ(verse.parts[0].sequence[2].transpose, 3);
    ASSERT_EQ(verse.automations.size(), 2u);
    EXPECT_EQ(verse.automations[0].param, P_CUTOFF);
    EXPECT_FLOAT_EQ(verse.automations[0].from, 500.0f);
    EXPECT_FLOAT_EQ(verse.automations[0].to, 2000.0f);
    EXPECT_FLOAT_EQ(verse.automations[1].from, verse.automations[1].to);
    EXPECT_TRUE(score.sections[1].parts.empty());
    EXPECT_EQ(score.song, (std::vector<int>{0, 1, 0}));
}

TEST(MrvsynthParserTest, StepsLandOnSamplesWithoutDrift)
{
    Score score = parsed("tempo 120\nsection s 3\nsong s s\n");
    // 5512.5 samples a sixteenth at 120 BPM: rounded down per step, never
    // accumulated.
    EXPECT_EQ(score.sampleOfStep(1), 5512u);
    EXPECT_EQ(score.sampleOfStep(2), 11025u);
    EXPECT_EQ(score.sampleOfStep(1000001), 5512505512u);
    EXPECT_EQ(score.totalSteps(), 96u);
    EXPECT_EQ(score.lengthSamples(), 6u * 88200u);  // six bars of two seconds

    score = parsed("tempo 150\nbeats 3\nsection s 2\nsong s\n");
    EXPECT_EQ(score.lengthSamples(), 2u * 12u * 4410u);
}

TEST(MrvsynthParserTest, ArrangementRepeatsCutsAndTransposes)
{
    const Score score = parsed("track t bass\ntrack u pad\n"
                               "pattern half\n  A1:4 . . . . C2 . . . . . . . . . . . . . . .\n"
                               "pattern high\n  B8 C1\n"
                               "section a 4\n  t half . half+2\n  u high-24 high+12\n"
                               "section b 1\n  t half-48\n"
                               "song a b\n");
    ASSERT_EQ(score.patterns[0].steps, 24u);
    const std::vector<std::vector<ScoreNote>> notes = Arrangement::notesByTrack(score);
    ASSERT_EQ(notes.size(), 2u);

    // 'half' takes steps 0 to 23, the rest bar 24 to 39, the transposed copy
    // 40 to 63; section b starts at 64 with its own sequence.
    const std::vector<std::pair<uint32_t, int>> bass = {{0, 33}, {8, 36}, {40, 35}, {48, 38}, {64, 21}, {72, 12}};
    ASSERT_EQ(notes[0].size(), bass.size());
    for (size_t i = 0; i < bass.size(); ++i)
    {
        EXPECT_EQ(notes[0][i].step, bass[i].first) << i;
        EXPECT_EQ(notes[0][i].key, bass[i].second) << i;
    }
    EXPECT_EQ(notes[0][4].length, 4u);

    // Keys moved out of range come back by octaves, keeping their pitch
    // class; the four-step sequence repeats to fill the four bars.
    ASSERT_EQ(notes[1].size(), 64u);
    EXPECT_EQ(notes[1][0].key, 95);   // B8 - 24
    EXPECT_EQ(notes[1][1].key, 12);   // C1 - 24 folds up to C0
    EXPECT_EQ(notes[1][2].key, 119);  // B8 + 12 folds down to B8
    EXPECT_EQ(notes[1][3].key, 36);   // C1 + 12
    EXPECT_EQ(notes[1][63].step, 63u);

    EXPECT_EQ(Arrangement::entryStarts(score), (std::vector<uint64_t>{0, 64}));
}

TEST(MrvsynthParserTest, NotesHeldPastTheSectionEndAreCutThere)
{
    const Score score = parsed("track t pad\npattern long\n  . . A3:30\nsection a 1\n  t long\nsong a a\n");
    const std::vector<std::vector<ScoreNote>> notes = Arrangement::notesByTrack(score);
    ASSERT_EQ(notes[0].size(), 2u);
    EXPECT_EQ(notes[0][0].step, 2u);
    EXPECT_EQ(notes[0][0].length, 14u);
    EXPECT_EQ(notes[0][1].step, 18u);
    EXPECT_EQ(notes[0][1].length, 14u);
}
