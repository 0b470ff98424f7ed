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
    // data directory, whichever holds "resources/", and says so in one log
    // line. False when none does, with `searched` naming every folder looked
    // in, quoted and separated by commas.
    static bool find(std::string& searched);

    static bool holdsResources(const std::string& directory);

    // `path` made absolute against the working directory, so that a file the
    // viewer named stays where they meant it after find() moved away.
    static std::string absolute(const std::string& path);
};
