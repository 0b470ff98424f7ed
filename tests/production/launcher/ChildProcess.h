#pragma once

#include <sys/types.h>

#include <string>
#include <utility>
#include <vector>

// A program run by a test in its own working directory, with its standard
// output and error written to files. A process still running when the object
// goes is killed, so a failing test leaves nothing behind.
class ChildProcess
{
public:
    ChildProcess() = default;
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] (a path) with the environment of the test plus
    // `environment`; false when it cannot be started.
    bool start(const std::vector<std::string>& argv, const std::vector<std::pair<std::string, std::string>>& environment,
               const std::string& workingDir, const std::string& stdoutFile, const std::string& stderrFile);
    // Waits until the process ends, polling; false when it runs on past the
    // timeout.
    bool waitFor(int timeoutMs);
    // Sends SIGKILL and reaps it.
    void kill();

    pid_t pid() const { return child; }
    bool exited() const { return finished; }
    // The exit status, or -1 when it ended by a signal.
    int exitStatus() const { return status; }

private:
    pid_t child = -1;
    bool finished = false;
    int status = -1;
};
