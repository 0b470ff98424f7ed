#pragma once

#include <string>
#include <vector>

// The xdotool command against one X server. Every run is cut off after the
// timeout, so that a window that never comes cannot hang the test run.
class XdoTool
{
public:
    XdoTool(const std::string& display, int timeoutMs);

    // Runs `xdotool <args>` and returns its standard output; its errors are
    // dropped, as a search that finds nothing reports one.
    std::string run(const std::string& args) const;
    // `search <args>`: the windows found, in the order printed.
    std::vector<unsigned long> search(const std::string& args) const;

    // The window ids in xdotool's output, one a line.
    static std::vector<unsigned long> parseIds(const std::string& text);

private:
    std::string display;
    int timeoutMs;
};
