#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The mrvsynth command line:
//   mrvsynth render SCORE -o FILE.ogg [-q QUALITY]   the score as Ogg Vorbis
//   mrvsynth info SCORE                              pattern lengths, sections with times and rows
// Results go to out, messages to err. Exit status: 0 done, 1 failed, 2 bad
// usage.
class MrvsynthCommand
{
public:
    static constexpr double DEFAULT_QUALITY = 0.4;

    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    static int render(const std::string& scorePath, const std::string& file, double quality, std::ostream& out,
                      std::ostream& err);
    static int info(const std::string& scorePath, std::ostream& out, std::ostream& err);

    static const char* usage();

private:
    static std::string clock(double seconds);
};
