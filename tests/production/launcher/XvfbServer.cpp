#include "tests/production/launcher/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>

XvfbServer::~XvfbServer()
{
    stop();
}

bool XvfbServer::start(const std::string& screen, int timeoutMs)
{
    stop();
    int ready[2];
    if (pipe(ready) != 0)
    {
        failure = "no pipe for the display number";
        return false;
    }
    const std::string readyFd = std::to_string(ready[1]);
    const char* args[] = { "Xvfb", "-displayfd", readyFd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                           "-noreset", nullptr };
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);

    server = fork();
    if (server == 0)
    {
        close(ready[0]);
        if (devNull >= 0)
        {
            dup2(devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
        }
        execvp(args[0], const_cast<char* const*>(args));
        _exit(127);
    }
    close(ready[1]);
    if (devNull >= 0)
        close(devNull);
    if (server < 0)
    {
        close(ready[0]);
        failure = "cannot fork for Xvfb";
        return false;
    }

    // The server writes its display number and a newline once it accepts
    // connections; end of file means it died first.
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool complete = false;
    while (!complete)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p{ ready[0], POLLIN, 0 };
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char c = 0;
        if (read(ready[0], &c, 1) != 1)
            break;
        if (c == '\n')
            complete = !number.empty();
        else
            number += c;
    }
    close(ready[0]);
    if (!complete)
    {
        failure = "Xvfb did not report a display (is it installed?)";
        stop();
        return false;
    }
    name = ":" + number;
    return true;
}

void XvfbServer::stop()
{
    if (server <= 0)
        return;
    kill(server, SIGTERM);
    int raw = 0;
    waitpid(server, &raw, 0);
    server = -1;
    name.clear();
}
