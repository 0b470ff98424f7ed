#include "production/DataDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <iostream>

bool DataDirectory::holdsResources(const std::string& directory)
{
    struct stat info;
    const std::string path = directory + "/resources";
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool DataDirectory::find()
{
    if (holdsResources("."))
        return true;

    // The program's directory, then the two above it (a program run from its
    // build tree, build/production/, finds the repository's data), then the
    // data directory beside an installed bin/ wherever the tree was
    // installed, then the configured data directory.
    std::string candidates[5];
    char exe[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0)
    {
        const std::string path(exe, static_cast<size_t>(n));
        candidates[0] = path.substr(0, path.rfind('/'));
        candidates[1] = candidates[0] + "/..";
        candidates[2] = candidates[0] + "/../..";
        candidates[3] = candidates[0] + "/../share/kelvarn";
    }
#ifdef KELVARN_DATADIR
    candidates[4] = KELVARN_DATADIR;
#endif
    for (const std::string& directory : candidates)
    {
        if (!directory.empty() && holdsResources(directory) && chdir(directory.c_str()) == 0)
        {
            std::cout << "Data directory : " << directory << std::endl;
            return true;
        }
    }
    return false;
}
