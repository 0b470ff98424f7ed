#include "mrvutils/StringTokenizer.h"

#include "mrvutils/StringUtils.h"

StringTokenizer::StringTokenizer(const std::string& text)
    : StringTokenizer(text, " ", false)
{
}

StringTokenizer::StringTokenizer(const std::string& text, const std::string& delimiters)
    : StringTokenizer(text, delimiters, false)
{
}

StringTokenizer::StringTokenizer(const std::string& text_, const std::string& delimiters_, bool returnDelimiters_)
    : delimiters(delimiters_.begin(), delimiters_.end()), text(text_),
      textLength(static_cast<int>(text_.size())), returnDelimiters(returnDelimiters_)
{
    tokenize();
}

static bool isBlank(const std::string& s)
{
    for (char c : s)
        if (!StringUtils::charIsTrimable(c))
            return false;
    return true;
}

void StringTokenizer::tokenize()
{
    bool isDelimiter[256] = {};
    for (char d : delimiters)
        isDelimiter[static_cast<unsigned char>(d)] = true;

    std::string current;
    for (char c : text)
    {
        if (isDelimiter[static_cast<unsigned char>(c)])
        {
            if (!isBlank(current))
                tokens.push_back(current);
            if (returnDelimiters)
                tokens.emplace_back(1, c);
            current.clear();
        }
        else
        {
            current += c;
        }
    }
    if (!isBlank(current))
        tokens.push_back(current);

    tokenCount = static_cast<int>(tokens.size());
    nextIndex = 0;
    moreTokens = tokenCount > 0;
}

std::string StringTokenizer::getNext()
{
    if (!moreTokens)
        return std::string();
    const int index = nextIndex++;
    if (nextIndex >= tokenCount)
        moreTokens = false;
    return tokens[index];
}

void StringTokenizer::getNext(int skip)
{
    nextIndex += skip;
    if (nextIndex >= tokenCount)
        moreTokens = false;
}
