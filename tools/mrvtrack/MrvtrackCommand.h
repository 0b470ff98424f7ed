#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The mrvtrack command line:
//   mrvtrack compile TIMELINE -o DIR [--script DEMOSCRIPT]
//                                      timeline text -> exactly its track
//                                      files in DIR, checked against the
//                                      demoscript's names when one is given
//   mrvtrack dump DIR                  track files in DIR -> timeline text
// Results go to out, messages to err. Exit status: 0 done, 1 failed (or a
// dump that is not a faithful copy), 2 bad usage.
class MrvtrackCommand
{
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    // An empty script compiles without the check.
    static int compile(const std::string& timeline, const std::string& directory, const std::string& script,
                       std::ostream& out, std::ostream& err);
    static int dump(const std::string& directory, std::ostream& out, std::ostream& err);

    static const char* usage();
};
