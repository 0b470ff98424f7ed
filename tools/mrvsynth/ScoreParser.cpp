#include "tools/mrvsynth/ScoreParser.h"

#include "tools/mrvsynth/NoteName.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace
{
const char* const KEYWORDS[] = {"tempo", "steps", "beats", "rowrate", "master", "track",
                                "pattern", "section", "song", "set", "sweep"};

const char* STATEMENTS = "a statement (tempo, steps, beats, rowrate, master, track, pattern, section, song)";

std::string formatNumber(float value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}
}

bool ScoreParser::parseFile(Score& result)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
    {
        error = fileName + ": expected a readable score file";
        return false;
    }
    std::string text;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    {
        text.append(buffer, static_cast<size_t>(in.gcount()));
        if (text.size() > MAX_BYTES)
        {
            error = fileName + ": expected a score of at most " + std::to_string(MAX_BYTES) + " bytes";
            return false;
        }
    }
    return parse(text, result);
}

bool ScoreParser::parse(const std::string& text, Score& result)
{
    if (text.size() > MAX_BYTES)
    {
        error = fileName + ": expected a score of at most " + std::to_string(MAX_BYTES) + " bytes";
        return false;
    }
    Score parsed;
    score = &parsed;
    error.clear();
    std::istringstream in(text);
    std::string lineText;
    line = 0;
    while (std::getline(in, lineText))
    {
        ++line;
        if (lineText.find('\0') != std::string::npos)
            return fail("text without zero bytes");
        if (!parseLine(split(lineText)))
            return false;
    }
    if (!finish())
        return false;
    result = std::move(parsed);
    score = nullptr;
    return true;
}

ScoreParser::Tokens ScoreParser::split(const std::string& text)
{
    Tokens tokens;
    std::string current;
    for (char c : text)
    {
        if (c == '#')
            break;
        if (c == ' ' || c == '\t' || c == '\r')
        {
            if (!current.empty())
                tokens.push_back(current);
            current.clear();
        }
        else
            current += c;
    }
    if (!current.empty())
        tokens.push_back(current);
    return tokens;
}

bool ScoreParser::parseLine(const Tokens& tokens)
{
    if (tokens.empty())
        return true;
    const std::string& word = tokens[0];
    if (word == "track" || word == "pattern" || word == "section" || word == "song")
    {
        if (!closeContext())
            return false;
        if (!leftHeader && !checkTiming())
            return false;
        leftHeader = true;
        if (word == "track")
            return trackStatement(tokens);
        if (word == "pattern")
            return patternStatement(tokens);
        if (word == "section")
            return sectionStatement(tokens);
        return songStatement(tokens);
    }
    if (word == "tempo" || word == "steps" || word == "beats" || word == "rowrate" || word == "master")
        return headerLine(tokens);
    switch (context)
    {
    case Context::Track:
        return paramLine(tokens);
    case Context::Pattern:
        return stepLine(tokens);
    case Context::Section:
        return sectionLine(tokens);
    case Context::Header:
        break;
    }
    return headerLine(tokens);
}

bool ScoreParser::headerLine(const Tokens& tokens)
{
    const std::string& word = tokens[0];
    if (word != "tempo" && word != "steps" && word != "beats" && word != "rowrate" && word != "master")
        return fail(STATEMENTS, word);
    if (leftHeader)
        return fail("'" + word + "' before the first track, pattern, section or song");
    if (tokens.size() != 2)
        return fail("'" + word + (word == "master" ? " GAIN'" : " N'") +
                    (tokens.size() < 2 ? "" : ", found '" + tokens[2] + "' after it"));
    bool& seen = word == "tempo"    ? seenTempo
                 : word == "steps"  ? seenSteps
                 : word == "beats"  ? seenBeats
                 : word == "rowrate" ? seenRowRate
                                    : seenMaster;
    if (seen)
        return fail("'" + word + "' once only");
    seen = true;
    long value = 0;
    if (word == "master")
    {
        float gain = 0.0f;
        if (!decimal(tokens[1], gain) || gain < 0.0f || gain > 8.0f)
            return fail("a master gain from 0 to 8", tokens[1]);
        score->master = gain;
        return true;
    }
    if (word == "steps")
    {
        if (!wholeNumber(tokens[1], 1, 16, "steps per beat", value))
            return false;
        score->stepsPerBeat = static_cast<int>(value);
        return true;
    }
    if (word == "beats")
    {
        if (!wholeNumber(tokens[1], 1, 16, "beats per bar", value))
            return false;
        score->beatsPerBar = static_cast<int>(value);
        return true;
    }
    if (word == "rowrate")
    {
        if (!wholeNumber(tokens[1], 1, 1000, "a row rate", value))
            return false;
        score->rowRate = static_cast<int>(value);
        rowRateLine = line;
        return true;
    }
    if (!wholeNumber(tokens[1], 30, 300, "a tempo in beats per minute", value))
        return false;
    score->tempo = static_cast<int>(value);
    tempoLine = line;
    return true;
}

bool ScoreParser::checkTiming()
{
    if ((60 * score->rowRate) % score->tempo == 0)
        return true;
    line = tempoLine > 0 ? tempoLine : rowRateLine;
    return fail("a tempo that puts every beat on a row at " + std::to_string(score->rowRate) +
                    " rows per second (" + std::to_string(60 * score->rowRate) +
                    " divided by the tempo a whole number)",
                std::to_string(score->tempo));
}

bool ScoreParser::trackStatement(const Tokens& tokens)
{
    if (tokens.size() != 3)
        return fail("'track NAME KIND'" + (tokens.size() > 3 ? ", found '" + tokens[3] + "' after it" : ""));
    if (!newName(tokens[1], "track", findTrack(tokens[1]) >= 0))
        return false;
    Kind kind;
    if (!InstrumentKind::find(tokens[2], kind))
        return fail("an instrument kind (" + InstrumentKind::nameList() + ")", tokens[2]);
    ScoreTrack track;
    track.name = tokens[1];
    track.kind = kind;
    track.values = InstrumentKind::defaults(kind);
    score->tracks.push_back(track);
    context = Context::Track;
    return true;
}

bool ScoreParser::paramLine(const Tokens& tokens)
{
    if (tokens.size() % 2 != 0)
        return fail("'PARAMETER VALUE' pairs, found '" + tokens.back() + "' without a value");
    const int track = static_cast<int>(score->tracks.size()) - 1;
    for (size_t i = 0; i < tokens.size(); i += 2)
    {
        Param param;
        const Kind kind = score->tracks[track].kind;
        if (!SynthParam::find(tokens[i], param) || !InstrumentKind::uses(kind, param))
        {
            if (isKeyword(tokens[i]))
                return fail(STATEMENTS, tokens[i]);
            return fail(std::string("a parameter of a ") + InstrumentKind::name(kind) + " (" +
                            InstrumentKind::paramList(kind) + ")",
                        tokens[i]);
        }
        if (!paramValue(tokens[i + 1], track, param, score->tracks[track].values[param]))
            return false;
    }
    return true;
}

bool ScoreParser::patternStatement(const Tokens& tokens)
{
    if (tokens.size() != 2)
        return fail("'pattern NAME'" + (tokens.size() > 2 ? ", found '" + tokens[2] + "' after it" : ""));
    if (!newName(tokens[1], "pattern", findPattern(tokens[1]) >= 0))
        return false;
    Pattern pattern;
    pattern.name = tokens[1];
    score->patterns.push_back(pattern);
    context = Context::Pattern;
    patternLineNumber = line;
    holdable.clear();
    return true;
}

bool ScoreParser::stepLine(const Tokens& tokens)
{
    for (const std::string& token : tokens)
        if (!step(token))
            return false;
    return true;
}

bool ScoreParser::step(const std::string& token)
{
    Pattern& pattern = score->patterns.back();
    const char* stepKinds = "a step ('.' rest, '-' hold, 'x' or 'o' hit, or notes like C3 or A3+C4+E4, "
                            "each with an optional :LENGTH and @VELOCITY)";
    if (isKeyword(token))
        return fail(STATEMENTS, token);
    if (token == "." || token == "-")
    {
        if (pattern.steps >= MAX_PATTERN_STEPS)
            return fail("at most " + std::to_string(MAX_PATTERN_STEPS) + " steps in a pattern", token);
        if (token == "-")
        {
            if (holdable.empty())
                return fail("a note before the hold '-'", token);
            for (size_t index : holdable)
                pattern.notes[index].length += 1;
        }
        else
            holdable.clear();
        pattern.steps += 1;
        return true;
    }

    const size_t at = token.find('@');
    const size_t colon = token.find(':');
    if (colon != std::string::npos && at != std::string::npos && colon > at)
        return fail(stepKinds, token);
    std::string head = token.substr(0, std::min(colon, at));
    long length = 1;
    if (colon != std::string::npos)
    {
        const std::string lengthText = token.substr(colon + 1, at == std::string::npos ? at : at - colon - 1);
        if (!wholeNumber(lengthText, 1, MAX_PATTERN_STEPS, "a note length in steps", length))
            return false;
    }
    std::vector<int> keys;
    float velocity = 1.0f;
    if (!noteHead(head, token, keys, velocity))
        return false;
    if (at != std::string::npos)
    {
        const std::string velocityText = token.substr(at + 1);
        float given = 0.0f;
        if (!decimal(velocityText, given) || given <= 0.0f || given > 1.0f)
            return fail("a velocity above 0 and at most 1 after '@'", velocityText);
        velocity *= given;
    }
    if (pattern.steps + static_cast<uint32_t>(length) > MAX_PATTERN_STEPS)
        return fail("at most " + std::to_string(MAX_PATTERN_STEPS) + " steps in a pattern", token);

    holdable.clear();
    for (int key : keys)
    {
        ScoreNote note;
        note.step = pattern.steps;
        note.length = static_cast<uint32_t>(length);
        note.key = key;
        note.velocity = velocity;
        holdable.push_back(pattern.notes.size());
        pattern.notes.push_back(note);
    }
    pattern.steps += static_cast<uint32_t>(length);
    return true;
}

bool ScoreParser::noteHead(const std::string& head, const std::string& token, std::vector<int>& keys,
                           float& velocity)
{
    if (head == "x" || head == "o")
    {
        keys.push_back(ScoreNote::HIT);
        velocity = head == "o" ? 0.5f : 1.0f;
        return true;
    }
    size_t start = 0;
    while (true)
    {
        const size_t plus = head.find('+', start);
        const std::string name = head.substr(start, plus == std::string::npos ? plus : plus - start);
        int key = 0;
        if (!NoteName::parse(name, key))
        {
            if (keys.empty() && plus == std::string::npos)
                return fail("a step ('.' rest, '-' hold, 'x' or 'o' hit, or notes like C3 or A3+C4+E4, "
                            "each with an optional :LENGTH and @VELOCITY)",
                            token);
            return fail("a note from C0 to B8 like C3, F#4 or Bb2 in '" + token + "'", name);
        }
        if (static_cast<int>(keys.size()) == MAX_CHORD)
            return fail("at most " + std::to_string(MAX_CHORD) + " notes in a chord", token);
        keys.push_back(key);
        if (plus == std::string::npos)
            return true;
        start = plus + 1;
    }
}

bool ScoreParser::sectionStatement(const Tokens& tokens)
{
    if (tokens.size() != 3)
        return fail("'section NAME BARS'" + (tokens.size() > 3 ? ", found '" + tokens[3] + "' after it" : ""));
    if (!newName(tokens[1], "section", findSection(tokens[1]) >= 0))
        return false;
    long bars = 0;
    if (!wholeNumber(tokens[2], 1, MAX_BARS, "a section length in bars", bars))
        return false;
    Section section;
    section.name = tokens[1];
    section.bars = static_cast<uint32_t>(bars);
    score->sections.push_back(section);
    context = Context::Section;
    return true;
}

bool ScoreParser::sectionLine(const Tokens& tokens)
{
    if (tokens[0] == "set" || tokens[0] == "sweep")
        return automationLine(tokens);
    if (isKeyword(tokens[0]))
        return fail(STATEMENTS, tokens[0]);
    const int track = findTrack(tokens[0]);
    if (track < 0)
        return fail("a track defined above, 'set' or 'sweep'", tokens[0]);
    Section& section = score->sections.back();
    for (const SectionPart& part : section.parts)
        if (part.track == track)
            return fail("each track once per section", tokens[0]);
    if (tokens.size() < 2)
        return fail("patterns after the track name '" + tokens[0] + "'");
    SectionPart part;
    part.track = track;
    for (size_t i = 1; i < tokens.size(); ++i)
    {
        PatternRef ref;
        if (!sequenceEntry(tokens[i], ref))
            return false;
        part.sequence.push_back(ref);
    }
    section.parts.push_back(part);
    return true;
}

bool ScoreParser::sequenceEntry(const std::string& token, PatternRef& ref)
{
    if (token == ".")
        return true;
    const size_t sign = token.find_first_of("+-");
    const std::string name = token.substr(0, sign);
    ref.pattern = findPattern(name);
    if (ref.pattern < 0)
        return fail("a pattern defined above, NAME+SEMITONES, NAME-SEMITONES or '.' for a bar of rest", token);
    if (sign != std::string::npos)
    {
        long semitones = 0;
        if (!wholeNumber(token.substr(sign + 1), 0, 48, "a transposition in semitones", semitones))
            return false;
        ref.transpose = static_cast<int>(token[sign] == '-' ? -semitones : semitones);
    }
    return true;
}

bool ScoreParser::automationLine(const Tokens& tokens)
{
    const bool sweep = tokens[0] == "sweep";
    const size_t expectedSize = sweep ? 5 : 4;
    if (tokens.size() != expectedSize)
        return fail(sweep ? "'sweep TRACK PARAMETER FROM TO'" : "'set TRACK PARAMETER VALUE'");
    Automation automation;
    automation.track = findTrack(tokens[1]);
    if (automation.track < 0)
        return fail("a track defined above", tokens[1]);
    const Kind kind = score->tracks[automation.track].kind;
    if (!SynthParam::find(tokens[2], automation.param) || !InstrumentKind::uses(kind, automation.param))
        return fail(std::string("a parameter of a ") + InstrumentKind::name(kind) + " (" +
                        InstrumentKind::paramList(kind) + ")",
                    tokens[2]);
    if (automation.param == P_DELAYSTEPS || automation.param == P_FEEDBACK || automation.param == P_UNISON)
        return fail("a parameter that can change during the song (not delaysteps, feedback or unison)",
                    tokens[2]);
    Section& section = score->sections.back();
    for (const Automation& other : section.automations)
        if (other.track == automation.track && other.param == automation.param)
            return fail("each parameter of a track set or swept once per section", tokens[2]);
    if (!paramValue(tokens[3], automation.track, automation.param, automation.from))
        return false;
    automation.to = automation.from;
    if (sweep && !paramValue(tokens[4], automation.track, automation.param, automation.to))
        return false;
    section.automations.push_back(automation);
    return true;
}

bool ScoreParser::songStatement(const Tokens& tokens)
{
    if (tokens.size() < 2)
        return fail("'song SECTION...'");
    for (size_t i = 1; i < tokens.size(); ++i)
    {
        const int section = findSection(tokens[i]);
        if (section < 0)
            return fail("a section defined above", tokens[i]);
        score->song.push_back(section);
        const double seconds = score->lengthSeconds();
        if (seconds > MAX_SECONDS)
            return fail("a song of at most " + std::to_string(MAX_SECONDS / 60) + " minutes, found " +
                        std::to_string(static_cast<long>(seconds)) + " seconds with '" + tokens[i] + "'");
    }
    songLine = line;
    return true;
}

bool ScoreParser::closeContext()
{
    if (context == Context::Pattern && score->patterns.back().steps == 0)
    {
        line = patternLineNumber;
        return fail("steps after 'pattern " + score->patterns.back().name + "'");
    }
    context = Context::Header;
    return true;
}

bool ScoreParser::finish()
{
    const int lastLine = line;
    if (!closeContext())
        return false;
    if (!leftHeader && !checkTiming())
        return false;
    if (score->song.empty())
    {
        line = lastLine;
        return fail("a 'song SECTION...' line");
    }
    return true;
}

bool ScoreParser::wholeNumber(const std::string& token, long min, long max, const std::string& what, long& value)
{
    bool digits = !token.empty() && token.size() <= 9;
    for (char c : token)
        digits = digits && c >= '0' && c <= '9';
    if (digits)
        value = std::strtol(token.c_str(), nullptr, 10);
    if (!digits || value < min || value > max)
        return fail(what + " from " + std::to_string(min) + " to " + std::to_string(max), token);
    return true;
}

bool ScoreParser::paramValue(const std::string& token, int track, Param param, float& value)
{
    const float low = SynthParam::minimum(param);
    const float high = SynthParam::maximum(param);
    float given = 0.0f;
    const bool whole = SynthParam::isWhole(param);
    if (!decimal(token, given) || given < low || given > high || (whole && given != std::floor(given)))
        return fail(std::string(whole ? "a whole number" : "a number") + " from " + formatNumber(low) + " to " +
                        formatNumber(high) + " for " + SynthParam::name(param) + " of track '" +
                        score->tracks[track].name + "'",
                    token);
    value = given;
    return true;
}

bool ScoreParser::decimal(const std::string& token, float& value)
{
    if (token.empty() || token.size() > 32 || token.find_first_not_of("0123456789.-+eE") != std::string::npos)
        return false;
    char* end = nullptr;
    const double parsed = std::strtod(token.c_str(), &end);
    if (end != token.c_str() + token.size() || !std::isfinite(parsed) || std::fabs(parsed) > 1e9)
        return false;
    value = static_cast<float>(parsed);
    return true;
}

bool ScoreParser::newName(const std::string& token, const std::string& what, bool taken)
{
    if (!isName(token) || isKeyword(token))
        return fail("a " + what + " name of letters, digits and '_' that is not a keyword", token);
    if (taken)
        return fail("a " + what + " name not used before", token);
    return true;
}

bool ScoreParser::isName(const std::string& token)
{
    if (token.empty() || token.size() > 64)
        return false;
    for (char c : token)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
            return false;
    return true;
}

bool ScoreParser::isKeyword(const std::string& token)
{
    for (const char* keyword : KEYWORDS)
        if (token == keyword)
            return true;
    return false;
}

int ScoreParser::findTrack(const std::string& name) const
{
    for (size_t i = 0; i < score->tracks.size(); ++i)
        if (score->tracks[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int ScoreParser::findPattern(const std::string& name) const
{
    for (size_t i = 0; i < score->patterns.size(); ++i)
        if (score->patterns[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int ScoreParser::findSection(const std::string& name) const
{
    for (size_t i = 0; i < score->sections.size(); ++i)
        if (score->sections[i].name == name)
            return static_cast<int>(i);
    return -1;
}

bool ScoreParser::fail(const std::string& expected)
{
    error = fileName + ":" + std::to_string(line) + ": expected " + expected;
    return false;
}

bool ScoreParser::fail(const std::string& expected, const std::string& found)
{
    return fail(expected + ", found '" + found + "'");
}
