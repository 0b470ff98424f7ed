#pragma once

#include "tools/mrvsynth/Score.h"

#include <cstddef>
#include <string>
#include <vector>

// Reads the text score format, which is described in tools/README.md
// (section "mrvsynth"). Names must be defined above their first use, so
// every mistake is reported on the line that makes it: "FILE:LINE: expected
// WHAT, found 'TOKEN'".
class ScoreParser
{
public:
    static constexpr size_t MAX_BYTES = 1 << 20;
    static constexpr uint32_t MAX_PATTERN_STEPS = 4096;
    static constexpr uint32_t MAX_BARS = 1000;
    static constexpr int MAX_CHORD = 8;
    static constexpr int MAX_SECONDS = 20 * 60;

    explicit ScoreParser(const std::string& fileName) : fileName(fileName) {}

    // Reads fileName itself.
    bool parseFile(Score& score);
    bool parse(const std::string& text, Score& score);
    // One line, without a line end; empty after a success.
    const std::string& getError() const { return error; }

private:
    enum class Context
    {
        Header,
        Track,
        Pattern,
        Section
    };
    using Tokens = std::vector<std::string>;

    bool parseLine(const Tokens& tokens);
    bool headerLine(const Tokens& tokens);
    bool trackStatement(const Tokens& tokens);
    bool patternStatement(const Tokens& tokens);
    bool sectionStatement(const Tokens& tokens);
    bool songStatement(const Tokens& tokens);
    bool paramLine(const Tokens& tokens);
    bool stepLine(const Tokens& tokens);
    bool step(const std::string& token);
    bool noteHead(const std::string& head, const std::string& token, std::vector<int>& keys, float& velocity);
    bool sectionLine(const Tokens& tokens);
    bool automationLine(const Tokens& tokens);
    bool sequenceEntry(const std::string& token, PatternRef& ref);
    // Once the header is complete: beats must start on rows.
    bool checkTiming();
    bool closeContext();
    bool finish();

    bool wholeNumber(const std::string& token, long min, long max, const std::string& what, long& value);
    bool paramValue(const std::string& token, int track, Param param, float& value);
    bool newName(const std::string& token, const std::string& what, bool taken);
    bool fail(const std::string& expected);
    bool fail(const std::string& expected, const std::string& found);

    static bool isName(const std::string& token);
    static bool isKeyword(const std::string& token);
    static bool decimal(const std::string& token, float& value);
    static Tokens split(const std::string& line);
    int findTrack(const std::string& name) const;
    int findPattern(const std::string& name) const;
    int findSection(const std::string& name) const;

    std::string fileName;
    std::string error;
    Score* score = nullptr;
    Context context = Context::Header;
    int line = 0;
    int patternLineNumber = 0;
    bool seenTempo = false;
    bool seenSteps = false;
    bool seenBeats = false;
    bool seenRowRate = false;
    bool seenMaster = false;
    bool leftHeader = false;
    int tempoLine = 0;
    int rowRateLine = 0;
    int songLine = 0;
    // The notes of the latest step token of the open pattern, which a '-'
    // lengthens; empty after a rest.
    std::vector<size_t> holdable;
};
