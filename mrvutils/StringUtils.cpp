#include "mrvutils/StringUtils.h"

#include "mrvutils/StringTokenizer.h"

bool StringUtils::charIsTrimable(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

std::string StringUtils::trim(std::string s)
{
    size_t first = 0;
    while (first < s.size() && charIsTrimable(s[first]))
        ++first;
    size_t last = s.size();
    while (last > first && charIsTrimable(s[last - 1]))
        --last;
    return s.substr(first, last - first);
}

bool StringUtils::isBool(std::string s)
{
    return s == "true" || s == "false";
}

bool StringUtils::isInt(std::string s)
{
    if (s.empty())
        return false;
    if (s[0] == '-')
        s.erase(0, 1);
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool StringUtils::isFloat(std::string s)
{
    if (s.empty())
        return false;
    if (s[0] == '-')
        s.erase(0, 1);
    StringTokenizer parts(s, ".");
    if (parts.countTokens() != 2)
        return false;
    const std::vector<std::string>& t = parts.getTokens();
    return isInt(t[0]) && isInt(t[1]);
}
