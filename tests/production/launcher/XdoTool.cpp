#include "tests/production/launcher/XdoTool.h"

#include <cstdio>
#include <sstream>

XdoTool::XdoTool(const std::string& display, int timeoutMs)
    : display(display), timeoutMs(timeoutMs)
{
}

std::string XdoTool::run(const std::string& args) const
{
    // Whole seconds, at least one: `timeout 0` would mean no limit at all.
    const int seconds = timeoutMs < 1000 ? 1 : timeoutMs / 1000;
    const std::string command =
        "DISPLAY=" + display + " timeout " + std::to_string(seconds) + " xdotool " + args + " 2>/dev/null";
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[1024];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::vector<unsigned long> XdoTool::search(const std::string& args) const
{
    return parseIds(run("search " + args));
}

std::vector<unsigned long> XdoTool::parseIds(const std::string& text)
{
    std::vector<unsigned long> ids;
    std::istringstream in(text);
    unsigned long id = 0;
    while (in >> id)
        ids.push_back(id);
    return ids;
}
