#include "tests/support/ProgramRunner.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

ProgramRun runProgram(const std::string& program, const std::string& dir, const std::string& args)
{
    const std::string errFile = dir + "/stderr.txt";
    const std::string command = "cd '" + dir + "' && ASAN_OPTIONS='" + childSanitizerOptions() + "' '" + program +
                                "' " + args + " 2>'" + errFile + "'";
    ProgramRun run;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream err(errFile);
    run.out += "\n--stderr--\n" + std::string(std::istreambuf_iterator<char>(err), {});
    return run;
}

std::string childSanitizerOptions()
{
    const char* options = std::getenv("ASAN_OPTIONS");
    return std::string(options ? options : "") + ":detect_leaks=0";
}
