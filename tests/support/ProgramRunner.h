#pragma once

#include <string>

// Runs the program as a child process, as a viewer or a script would, and
// keeps what it printed.
struct ProgramRun
{
    int status = -1;     // exit status; -1 when it did not exit normally
    std::string out;     // standard output, then "\n--stderr--\n" and standard error
};

// Runs `program args` in `dir` (args are passed through the shell as given).
//
// Under AddressSanitizer the child's leak check is switched off: at exit SDL
// unloads the GL driver, and what the driver kept for the process is then
// reported from modules that no longer exist and cannot be suppressed by
// name. Memory errors are still caught in the child; leaks in the engine are
// checked by the in-process test suites.
ProgramRun runProgram(const std::string& program, const std::string& dir, const std::string& args);

// The sanitizer options for any child that runs the program, for the same
// reason: the caller's options with the child's leak check switched off.
std::string childSanitizerOptions();
