#include "demosys/timeline/TimelineSyntax.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{
const char* const CURVE_NAMES[] = {"linear", "cos-out", "cos-in", "step", "ramp"};
const int CURVE_COUNT = 5;
// Enough digits for any 32-bit field, few enough that m:s:ms cannot
// overflow 64 bits.
const size_t MAX_FIELD_DIGITS = 10;

bool isBareByte(unsigned char c)
{
    return c > ' ' && c != '"' && c != '#' && c != 0x7f;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool allDigits(const std::string& text)
{
    if (text.empty() || text.size() > MAX_FIELD_DIGITS)
        return false;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

uint32_t floatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float bitsFloat(uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
}

bool TimelineSyntax::splitLine(const std::string& line, std::vector<TimelineToken>& tokens, std::string& expected)
{
    tokens.clear();
    size_t i = 0;
    const size_t n = line.size();
    while (i < n)
    {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        if (c == ' ' || c == '\t' || c == '\r')
        {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        TimelineToken token;
        if (c == '"')
        {
            token.quoted = true;
            ++i;
            bool closed = false;
            while (i < n)
            {
                const char q = line[i++];
                if (q == '"')
                {
                    closed = true;
                    break;
                }
                if (q != '\\')
                {
                    token.text.push_back(q);
                    continue;
                }
                if (i >= n)
                    break;
                const char e = line[i++];
                if (e == '"' || e == '\\')
                {
                    token.text.push_back(e);
                }
                else if (e == 'x' && i + 1 < n && hexDigit(line[i]) >= 0 && hexDigit(line[i + 1]) >= 0)
                {
                    token.text.push_back(static_cast<char>(hexDigit(line[i]) * 16 + hexDigit(line[i + 1])));
                    i += 2;
                }
                else
                {
                    expected = "an escape \\\", \\\\ or \\xHH in a quoted name";
                    return false;
                }
            }
            if (!closed)
            {
                expected = "a closing '\"'";
                return false;
            }
            if (i < n && isBareByte(static_cast<unsigned char>(line[i])))
            {
                expected = "a space after the closing '\"'";
                return false;
            }
        }
        else if (isBareByte(c))
        {
            while (i < n && isBareByte(static_cast<unsigned char>(line[i])))
                token.text.push_back(line[i++]);
            if (i < n && line[i] == '"')
            {
                expected = "a space before '\"'";
                return false;
            }
        }
        else
        {
            expected = "printable text; write control bytes in a quoted name as \\xHH";
            return false;
        }
        tokens.push_back(token);
    }
    return true;
}

std::string TimelineSyntax::quote(const std::string& name)
{
    bool bare = !name.empty();
    for (char c : name)
        bare = bare && isBareByte(static_cast<unsigned char>(c));
    if (bare)
        return name;
    std::string text = "\"";
    for (char c : name)
    {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
        {
            text.push_back('\\');
            text.push_back(c);
        }
        else if (u < ' ' || u == 0x7f)
        {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", u);
            text += escaped;
        }
        else
        {
            text.push_back(c);
        }
    }
    return text + "\"";
}

bool TimelineSyntax::parseInt(const std::string& text, int& value)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string digits = negative ? text.substr(1) : text;
    if (!allDigits(digits))
        return false;
    const long long magnitude = std::strtoll(digits.c_str(), nullptr, 10);
    const long long v = negative ? -magnitude : magnitude;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(v);
    return true;
}

bool TimelineSyntax::parseTime(const std::string& text, int rowRate, unsigned int& row, std::string& expected)
{
    return parseTime(text, rowRate, TimelineBeat(), row, expected);
}

bool TimelineSyntax::parseTime(const std::string& text, int rowRate, const TimelineBeat& beat, unsigned int& row,
                               std::string& expected)
{
    const unsigned long long lastRow = std::numeric_limits<unsigned int>::max();
    if (text.find('|') != std::string::npos)
    {
        if (beat.rowsPerBeat <= 0)
        {
            expected = "a beat length ('beat ROWS_PER_BEAT [BEATS_PER_BAR]' before the first object) for the time '" +
                       text + "'";
            return false;
        }
        const size_t first = text.find('|');
        const size_t second = text.find('|', first + 1);
        const std::string bar = text.substr(0, first);
        const std::string beatText = text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
        const std::string rows = second == std::string::npos ? std::string("0") : text.substr(second + 1);
        const unsigned long long perBar = static_cast<unsigned int>(beat.beatsPerBar > 0 ? beat.beatsPerBar : 1);
        const unsigned long long perBeat = static_cast<unsigned int>(beat.rowsPerBeat);
        if (!allDigits(bar) || !allDigits(beatText) || !allDigits(rows) || bar.size() > 9 || beatText.size() > 9 ||
            rows.size() > 9 || std::strtoull(bar.c_str(), nullptr, 10) < 1 ||
            std::strtoull(beatText.c_str(), nullptr, 10) < 1 || std::strtoull(beatText.c_str(), nullptr, 10) > perBar ||
            std::strtoull(rows.c_str(), nullptr, 10) >= perBeat)
        {
            expected = "a time 'BAR|BEAT' or 'BAR|BEAT|ROW' (bar from 1, beat from 1 to " + std::to_string(perBar) +
                       ", row from 0 to " + std::to_string(perBeat - 1) + "), found '" + text + "'";
            return false;
        }
        const unsigned long long r = ((std::strtoull(bar.c_str(), nullptr, 10) - 1) * perBar +
                                      std::strtoull(beatText.c_str(), nullptr, 10) - 1) *
                                         perBeat +
                                     std::strtoull(rows.c_str(), nullptr, 10);
        if (r > lastRow)
        {
            expected = "a time up to row 4294967295, found '" + text + "' (row " + std::to_string(r) + ")";
            return false;
        }
        row = static_cast<unsigned int>(r);
        return true;
    }
    const size_t first = text.find(':');
    if (first == std::string::npos)
    {
        if (allDigits(text) && std::strtoull(text.c_str(), nullptr, 10) <= lastRow)
        {
            row = static_cast<unsigned int>(std::strtoull(text.c_str(), nullptr, 10));
            return true;
        }
        expected = "a row from 0 to 4294967295 or a time 'minutes:seconds:milliseconds', found '" + text + "'";
        return false;
    }
    const size_t second = text.find(':', first + 1);
    const std::string minutes = text.substr(0, first);
    const std::string seconds = text.substr(first + 1, second == std::string::npos ? 0 : second - first - 1);
    const std::string millis = second == std::string::npos ? std::string() : text.substr(second + 1);
    if (!allDigits(minutes) || !allDigits(seconds) || !allDigits(millis))
    {
        expected = "a time 'minutes:seconds:milliseconds' of three whole numbers, found '" + text + "'";
        return false;
    }
    const unsigned long long ms = std::strtoull(minutes.c_str(), nullptr, 10) * 60000ull +
                                  std::strtoull(seconds.c_str(), nullptr, 10) * 1000ull +
                                  std::strtoull(millis.c_str(), nullptr, 10);
    const unsigned long long r = ms * static_cast<unsigned long long>(rowRate) / 1000ull;
    if (r > lastRow)
    {
        expected = "a time up to row 4294967295, found '" + text + "' (row " + std::to_string(r) + ")";
        return false;
    }
    row = static_cast<unsigned int>(r);
    return true;
}

unsigned int TimelineSyntax::rowStart(unsigned long long row, int rowRate)
{
    const unsigned long long rate = static_cast<unsigned int>(rowRate > 0 ? rowRate : 1);
    const unsigned long long ms = (row * 1000ULL + rate - 1) / rate;
    return ms > std::numeric_limits<unsigned int>::max() ? std::numeric_limits<unsigned int>::max()
                                                         : static_cast<unsigned int>(ms);
}

std::string TimelineSyntax::formatTime(unsigned int ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u:%02u:%03u", ms / 60000u, ms / 1000u % 60u, ms % 1000u);
    return text;
}

bool TimelineSyntax::parseCurve(const std::string& text, int& curve)
{
    for (int i = 0; i < CURVE_COUNT; ++i)
    {
        if (text == CURVE_NAMES[i])
        {
            curve = i;
            return true;
        }
    }
    return parseInt(text, curve);
}

std::string TimelineSyntax::curveName(int curve)
{
    if (curve >= 0 && curve < CURVE_COUNT)
        return CURVE_NAMES[curve];
    return std::to_string(curve);
}

bool TimelineSyntax::parseValue(const std::string& text, float& value, std::string& expected)
{
    expected = "a value (a decimal number, inf, -inf, nan or nan:HHHHHHHH), found '" + text + "'";
    if (text == "inf" || text == "-inf")
    {
        value = text[0] == '-' ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
        return true;
    }
    if (text == "nan")
    {
        value = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    if (text.compare(0, 4, "nan:") == 0)
    {
        if (text.size() != 12)
            return false;
        uint32_t bits = 0;
        for (size_t i = 4; i < 12; ++i)
        {
            const int d = hexDigit(text[i]);
            if (d < 0)
                return false;
            bits = bits * 16 + static_cast<uint32_t>(d);
        }
        value = bitsFloat(bits);
        if (!std::isnan(value))
        {
            expected = "the bits of a NaN after 'nan:', found '" + text + "'";
            return false;
        }
        return true;
    }
    // Plain decimal notation only: strtof alone would also take hex floats,
    // "infinity" and leading spaces.
    bool digit = false;
    for (char c : text)
    {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c != '-' && c != '+' && c != '.' && c != 'e' && c != 'E')
            return false;
    }
    if (!digit)
        return false;
    errno = 0;
    char* end = nullptr;
    const float v = std::strtof(text.c_str(), &end);
    if (end != text.c_str() + text.size())
        return false;
    if (errno == ERANGE && std::isinf(v))
    {
        expected = "a value within the float range, found '" + text + "'";
        return false;
    }
    value = v;
    return true;
}

std::string TimelineSyntax::formatValue(float value)
{
    if (std::isnan(value))
    {
        char text[16];
        std::snprintf(text, sizeof text, "nan:%08x", static_cast<unsigned int>(floatBits(value)));
        return text;
    }
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char text[32];
    for (int precision = 1; precision <= 9; ++precision)
    {
        std::snprintf(text, sizeof text, "%.*g", precision, static_cast<double>(value));
        if (floatBits(std::strtof(text, nullptr)) == floatBits(value))
            break;
    }
    return text;
}

std::string TimelineSyntax::formatThousandths(float value)
{
    if (!std::isfinite(value))
        return formatValue(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3f", static_cast<double>(value));
    std::string number = buffer;
    while (number.back() == '0')
        number.pop_back();
    if (number.back() == '.')
        number.pop_back();
    return number == "-0" ? "0" : number;
}
