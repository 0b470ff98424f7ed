#include "mrvutils/ReadLog.h"

#include <set>

namespace {

bool recording = false;

std::set<std::string>& recorded()
{
    static std::set<std::string> paths;
    return paths;
}

// "resources/shaders/./default.vert" and "resources//x" name the same file
// as their plain forms; a release must not carry it twice.
std::string tidy(const std::string& path)
{
    std::string out;
    size_t at = 0;
    if (!path.empty() && path[0] == '/')
        out = "/";
    while (at <= path.size())
    {
        size_t end = path.find('/', at);
        if (end == std::string::npos)
            end = path.size();
        const std::string step = path.substr(at, end - at);
        if (!step.empty() && step != ".")
        {
            if (!out.empty() && out.back() != '/')
                out += '/';
            out += step;
        }
        at = end + 1;
    }
    return out;
}

} // namespace

void ReadLog::start()
{
    recorded().clear();
    recording = true;
}

void ReadLog::stop()
{
    recording = false;
}

bool ReadLog::isRecording()
{
    return recording;
}

void ReadLog::record(const std::string& path)
{
    if (recording && !path.empty())
        recorded().insert(tidy(path));
}

std::vector<std::string> ReadLog::files()
{
    return std::vector<std::string>(recorded().begin(), recorded().end());
}
