#pragma once

#include <string>
#include <vector>

// A text file as its lines, each with its own line end ("\n", "\r\n", or
// none for a last line without one), so that an edit can change some lines
// and join the rest back byte for byte.
class TextLines
{
public:
    static std::vector<std::string> split(const std::string& text);
    static std::string join(const std::vector<std::string>& lines);
    // The line end a new line gets: the one most of the lines have.
    static std::string commonEnd(const std::vector<std::string>& lines);
};
