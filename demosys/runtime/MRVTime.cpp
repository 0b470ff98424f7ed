#include "demosys/runtime/MRVTime.h"

#include "mrvutils/MRVUtils.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

MRVTime::MRVTime() = default;

MRVTime::MRVTime(unsigned int t)
{
    setTicks(t);
}

MRVTime::MRVTime(int m, int s, int ms)
    : minutes(m), seconds(s), milliseconds(ms)
{
    updateTicks();
}

MRVTime::MRVTime(const std::string& text)
{
    setTimeAsString(text);
}

void MRVTime::updateTicks()
{
    // Unsigned arithmetic: the parts come from text and may be large or
    // negative; the total wraps like the 32-bit tick counter it stands for.
    ticks = static_cast<unsigned int>(minutes) * 60000u + static_cast<unsigned int>(seconds) * 1000u +
            static_cast<unsigned int>(milliseconds);
}

void MRVTime::setTicks(unsigned int t)
{
    ticks = t;
    minutes = static_cast<int>(t / 60000u);
    seconds = static_cast<int>((t % 60000u) / 1000u);
    milliseconds = static_cast<int>(t % 1000u);
}

void MRVTime::setMinutes(int m)
{
    minutes = m;
    updateTicks();
}

void MRVTime::setSeconds(int s)
{
    seconds = s;
    if (seconds >= 60)
    {
        minutes += seconds / 60;
        seconds %= 60;
    }
    updateTicks();
}

void MRVTime::setMilliseconds(int ms)
{
    milliseconds = ms;
    if (milliseconds >= 1000)
    {
        seconds += milliseconds / 1000;
        milliseconds %= 1000;
    }
    updateTicks();
}

void MRVTime::reset()
{
    minutes = seconds = milliseconds = 0;
    ticks = 0;
}

void MRVTime::setTimeAsString(const std::string& text)
{
    valid = true;
    StringTokenizer fields(text, ":");
    if (fields.countTokens() != 3)
    {
        reset();
        valid = false;
        return;
    }
    int* parts[3] = { &minutes, &seconds, &milliseconds };
    const std::vector<std::string>& tokens = fields.getTokens();
    for (int i = 0; i < 3; ++i)
    {
        if (StringUtils::isInt(tokens[i]))
            *parts[i] = MRVUtils::string2Int(tokens[i]);
        else
            valid = false;
    }
    if (valid)
        updateTicks();
    else
        reset();
}

std::string MRVTime::forceStringLength(std::string s, unsigned int n)
{
    if (s.size() < n)
        s.insert(0, n - s.size(), '0');
    return s;
}

std::string MRVTime::toString() const
{
    return "(" + forceStringLength(MRVUtils::uint2string(ticks), 10) + ")-[" +
           forceStringLength(MRVUtils::int2string(minutes), 2) + ":" +
           forceStringLength(MRVUtils::int2string(seconds), 2) + ":" +
           forceStringLength(MRVUtils::int2string(milliseconds), 3) + "]";
}
