#pragma once

#include <string>
#include <vector>

// Splits a text at any character of a delimiter set. All tokens are computed
// once in the constructor; empty and whitespace-only tokens never appear, and
// tokens keep their surrounding whitespace (callers trim).
class StringTokenizer
{
public:
    explicit StringTokenizer(const std::string& text);
    StringTokenizer(const std::string& text, const std::string& delimiters);
    StringTokenizer(const std::string& text, const std::string& delimiters, bool returnDelimiters);

    std::string getNext();
    void getNext(int skip);
    bool hasMoreTokens() const { return moreTokens; }
    int countTokens() const { return tokenCount; }

    // All tokens in text order, for callers that walk them without the cursor.
    const std::vector<std::string>& getTokens() const { return tokens; }

private:
    void tokenize();

    int tokenCount = 0;
    int nextIndex = 0;
    std::vector<std::string> tokens;
    std::vector<char> delimiters;
    std::string text;
    int textLength = 0;
    bool moreTokens = true;
    bool returnDelimiters = false;
};
