#include "production/DataDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace {

// The folder as a viewer would name it: "/opt/kelvarn" rather than
// "/opt/kelvarn/bin/..", and "/opt/share/kelvarn" for a missing
// "/opt/kelvarn/../share/kelvarn": its nearest existing parent resolved.
std::string plain(const std::string& directory)
{
    char resolved[PATH_MAX];
    if (realpath(directory.c_str(), resolved))
        return resolved;
    const size_t slash = directory.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return directory;
    return plain(directory.substr(0, slash)) + directory.substr(slash);
}

} // namespace

bool DataDirectory::holdsResources(const std::string& directory)
{
    struct stat info;
    const std::string path = directory + "/resources";
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string DataDirectory::absolute(const std::string& path)
{
    if (path.empty() || path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
}

bool DataDirectory::find(std::string& searched)
{
    if (holdsResources("."))
        return true;

    // The working directory; the program's directory, then the two above it
    // (a program run from its build tree, build/production/, finds the
    // repository's data); the data directory beside an installed bin/
    // wherever the tree was installed; the configured data directory.
    std::vector<std::string> candidates;
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0)
    {
        const std::string path(exe, static_cast<size_t>(n));
        const std::string own = path.substr(0, path.rfind('/'));
        candidates = { own, own + "/..", own + "/../..", own + "/../share/kelvarn" };
    }
#ifdef KELVARN_DATADIR
    candidates.push_back(KELVARN_DATADIR);
#endif
    searched = "'" + plain(".") + "'";
    for (const std::string& directory : candidates)
    {
        if (holdsResources(directory) && chdir(directory.c_str()) == 0)
        {
            std::cout << "Data directory : " << plain(".") << std::endl;
            return true;
        }
        const std::string shown = "'" + plain(directory) + "'";
        if (searched.find(shown) == std::string::npos)
            searched += ", " + shown;
    }
    return false;
}
