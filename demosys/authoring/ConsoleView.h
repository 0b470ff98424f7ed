#pragma once

#include <deque>
#include <string>

// The editor's console line: a command typed as a script would type it, run
// on Enter, with the last command and the line it printed above it.
// Up and Down bring back earlier commands.
class ConsoleView
{
public:
    // `command` is left empty unless Enter was pressed on a line.
    void draw(std::string& command);
    // What the command just run printed, shown under it.
    void reply(const std::string& line);

private:
    static constexpr size_t KEPT = 2;  // lines shown above the input
    static constexpr size_t LINE = 256;

    char input[LINE] = {};
    std::deque<std::string> shown;    // commands and replies, oldest first
    std::deque<std::string> history;  // commands, oldest first
    int recalled = -1;                // index into history while stepping
    bool refocus = false;
};
