#include "production/ReleaseFiles.h"

#include "mrvutils/ReadLog.h"
#include "production/MRVGui.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

bool ReleaseFiles::write(const std::string& path, std::string& error)
{
    std::vector<std::string> files = ReadLog::files();
    struct stat info;
    if (stat(MRVGui::LOGO_PATH, &info) == 0 && S_ISREG(info.st_mode) &&
        std::find(files.begin(), files.end(), MRVGui::LOGO_PATH) == files.end())
    {
        files.push_back(MRVGui::LOGO_PATH);
        std::sort(files.begin(), files.end());
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const std::string& file : files)
        out << file << '\n';
    out.close();
    if (!out)
    {
        error = "cannot write the file list '" + path + "': " + std::strerror(errno);
        return false;
    }
    return true;
}
