#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The mrvmodels command line:
//   mrvmodels list               the models it makes
//   mrvmodels write NAME -o FILE one model as a 3D object file
//   mrvmodels all DIR            every model into DIR as NAME.o3d
// Results go to out, messages to err. Exit status: 0 done, 1 failed, 2 bad
// usage.
class MrvmodelsCommand
{
public:
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

    static int list(std::ostream& out);
    static int write(const std::string& name, const std::string& file, std::ostream& out, std::ostream& err);
    static int all(const std::string& dir, std::ostream& out, std::ostream& err);

    static const char* usage();
};
