#include "mrvutils/TextLines.h"

std::vector<std::string> TextLines::split(const std::string& text)
{
    std::vector<std::string> lines;
    size_t begin = 0;
    while (begin < text.size())
    {
        size_t end = text.find('\n', begin);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(text.substr(begin, end - begin));
        begin = end;
    }
    return lines;
}

std::string TextLines::join(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

std::string TextLines::commonEnd(const std::vector<std::string>& lines)
{
    int crlf = 0;
    for (const std::string& line : lines)
        if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
            ++crlf;
    return crlf * 2 > static_cast<int>(lines.size()) ? "\r\n" : "\n";
}
