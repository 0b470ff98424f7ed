#include "tools/mrvsynth/MrvsynthCommand.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = MrvsynthCommand::run(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
