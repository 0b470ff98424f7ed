#pragma once

#include <string>
#include <vector>

// Command lines from a file descriptor (standard input in --dev --headless),
// read between frames without ever waiting: a script writes a line and the
// next frame runs it.
class CommandInput
{
public:
    explicit CommandInput(int fd) : fd(fd) {}

    // The lines completed since the last call (valid until the next); none
    // once the input has ended.
    const std::vector<std::string>& poll();

private:
    int fd;
    bool ended = false;
    std::string pending;
    std::vector<std::string> lines;
};
