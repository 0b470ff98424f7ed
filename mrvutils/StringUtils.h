#pragma once

#include <string>

// Predicates and trimming shared by every text format. Whitespace means
// exactly tab, line feed, carriage return and space; no locale is involved.
class StringUtils
{
public:
    static std::string trim(std::string s);
    static bool charIsTrimable(char c);
    static bool isBool(std::string s);
    // Digits with at most one leading '-'; a lone "-" passes.
    static bool isInt(std::string s);
    // Two integer parts around one '.', the point mandatory.
    static bool isFloat(std::string s);
};
