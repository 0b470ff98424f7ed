#pragma once

#include <string>
#include <vector>

// One piece of a timeline line. Quoted pieces are always names; keywords,
// times, curves and values are bare.
struct TimelineToken
{
    std::string text;
    bool quoted = false;
};

// The lexical rules of the timeline text, shared by the parser and the
// printer so that whatever the printer writes reads back to the same bytes.
//
// Tokens are separated by spaces or tabs; '#' outside quotes starts a
// comment. A bare token is any run of bytes above space except '"' and '#'
// (and DEL). A quoted token is "..." with the escapes \" \\ and \xHH.
// Times are rows (a whole number) or minutes:seconds:milliseconds, three
// whole numbers converted at a row rate as the player counts rows:
// row = milliseconds * rowrate / 1000, rounded down. Where a beat length is
// known, a time may also be BAR|BEAT or BAR|BEAT|ROW: bar and beat counted
// from 1 as a musician counts them, and rows into the beat from 0.
struct TimelineBeat
{
    int rowsPerBeat = 0;  // 0: no beat length, no musical times
    int beatsPerBar = 4;
};

class TimelineSyntax
{
public:
    static const int DEFAULT_ROW_RATE = 20;
    static const int MAX_ROW_RATE = 1000;

    // Splits one line (without its line end). False with `expected` set to
    // what was missing.
    static bool splitLine(const std::string& line, std::vector<TimelineToken>& tokens, std::string& expected);
    // The name as a token: bare when it can be, quoted otherwise.
    static std::string quote(const std::string& name);

    // A whole number with an optional '-', within the int32 range.
    static bool parseInt(const std::string& text, int& value);
    // A row or an m:s:ms time at rowRate, or a musical time at `beat`.
    // False with `expected` set.
    static bool parseTime(const std::string& text, int rowRate, unsigned int& row, std::string& expected);
    static bool parseTime(const std::string& text, int rowRate, const TimelineBeat& beat, unsigned int& row,
                          std::string& expected);

    // The first millisecond of a row at rowRate: the time that reads back
    // to that row (at most the largest time).
    static unsigned int rowStart(unsigned long long row, int rowRate);
    // A time as "m:ss:mmm", the form the production's timeline is written in.
    static std::string formatTime(unsigned int ms);
    // A row as the first millisecond of it, which reads back to that row.
    static std::string formatRow(unsigned int row, int rowRate) { return formatTime(rowStart(row, rowRate)); }

    // linear, cos-out, cos-in, step, ramp, or any whole number.
    static bool parseCurve(const std::string& text, int& curve);
    static std::string curveName(int curve);
    static const char* curveList() { return "linear, cos-out, cos-in, step, ramp or a whole number"; }

    // Decimal numbers, inf, -inf, nan, and nan:HHHHHHHH for one NaN's exact
    // bits. False with `expected` set.
    static bool parseValue(const std::string& text, float& value, std::string& expected);
    // The shortest decimal that reads back to the same float; NaNs as
    // nan:HHHHHHHH.
    static std::string formatValue(float value);
    // A number set by hand, as a person types it: to the thousandth,
    // trailing zeros dropped ("0.632", "-7.25", "100").
    static std::string formatThousandths(float value);
};
