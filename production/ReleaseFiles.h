#pragma once

#include <string>

// The list a release packs: every data file the loaded production read, as
// recorded by ReadLog, and the launcher's picture, which only a run with the
// dialog reads. Paths as the program opened them, relative to the data
// directory, in ascending byte order, one a line.
class ReleaseFiles
{
public:
    // False with a one-line reason in `error` when `path` cannot be written.
    static bool write(const std::string& path, std::string& error);
};
