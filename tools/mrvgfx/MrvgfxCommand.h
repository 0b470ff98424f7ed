#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The mrvgfx command line:
//   mrvgfx generate OUTDIR [FILE...]  every file (or the named ones) into
//                                     OUTDIR/graphics and OUTDIR/misc
//   mrvgfx list                       the files with what they show and who
//                                     reads them
// Results go to out, messages to err. Exit status: 0 done, 1 failed, 2 bad
// usage.
class MrvgfxCommand
{
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    static int generate(const std::string& dir, const std::vector<std::string>& names, std::ostream& out,
                        std::ostream& err);
    static int list(std::ostream& out);

    static const char* usage();
};
