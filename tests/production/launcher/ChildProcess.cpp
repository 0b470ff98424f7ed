#include "tests/production/launcher/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

ChildProcess::~ChildProcess()
{
    kill();
}

bool ChildProcess::start(const std::vector<std::string>& argv,
                         const std::vector<std::pair<std::string, std::string>>& environment,
                         const std::string& workingDir, const std::string& stdoutFile, const std::string& stderrFile)
{
    if (argv.empty() || child > 0)
        return false;
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    // Everything the child needs is prepared before fork: after it, only
    // calls that are safe in a forked copy of the test run.
    const int out = open(stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (out < 0 || err < 0)
    {
        if (out >= 0)
            close(out);
        if (err >= 0)
            close(err);
        return false;
    }
    std::vector<std::string> entries;
    for (char** e = environ; *e; ++e)
    {
        const std::string entry = *e;
        bool replaced = false;
        for (const auto& pair : environment)
            replaced = replaced || entry.compare(0, pair.first.size() + 1, pair.first + "=") == 0;
        if (!replaced)
            entries.push_back(entry);
    }
    for (const auto& pair : environment)
        entries.push_back(pair.first + "=" + pair.second);
    std::vector<char*> env;
    for (const std::string& entry : entries)
        env.push_back(const_cast<char*>(entry.c_str()));
    env.push_back(nullptr);

    child = fork();
    if (child == 0)
    {
        if (chdir(workingDir.c_str()) != 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(126);
        execve(args[0], args.data(), env.data());
        _exit(127);
    }
    close(out);
    close(err);
    finished = false;
    return child > 0;
}

bool ChildProcess::waitFor(int timeoutMs)
{
    if (child <= 0)
        return finished;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;)
    {
        int raw = 0;
        const pid_t done = waitpid(child, &raw, WNOHANG);
        if (done == child)
        {
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            finished = true;
            child = -1;
            return true;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void ChildProcess::kill()
{
    if (child <= 0)
        return;
    ::kill(child, SIGKILL);
    int raw = 0;
    waitpid(child, &raw, 0);
    child = -1;
    status = -1;
    finished = true;
}
