#pragma once

#include <string>

// Every data path is relative to the working directory. Started from a
// desktop or another folder, the program would find nothing; this moves to
// where the production's data is.
class DataDirectory
{
public:
    // Leaves the working directory alone when it holds "resources/";
    // otherwise changes to the program's own directory, or to the installed
    // data directory, whichever holds "resources/". True when the working
    // directory then holds it.
    static bool find();

    static bool holdsResources(const std::string& directory);
};
