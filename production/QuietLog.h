#pragma once

#include <ostream>
#include <streambuf>
#include <string>

// --quiet: standard output keeps what needs a person, the failures and
// warnings, the lines of --dev and the end-of-show summary, and drops the
// running log of loading and shut-down. Whole lines are judged as they are
// finished, by what they say, since the log is written from every part of
// the engine.
class QuietLog : public std::streambuf
{
public:
    // Filters `stream` until destroyed.
    explicit QuietLog(std::ostream& stream);
    ~QuietLog() override;

    QuietLog(const QuietLog&) = delete;
    QuietLog& operator=(const QuietLog&) = delete;

    // From now on every line passes (a failed load's whole report).
    void passAll() { all = true; }

    static bool keeps(const std::string& line);

protected:
    int overflow(int c) override;
    int sync() override;

private:
    std::ostream& stream;
    std::streambuf* out;
    std::string line;
    bool all = false;
};
