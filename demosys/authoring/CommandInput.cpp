#include "demosys/authoring/CommandInput.h"

#include <poll.h>
#include <unistd.h>

const std::vector<std::string>& CommandInput::poll()
{
    lines.clear();
    while (!ended)
    {
        pollfd ready{ fd, POLLIN, 0 };
        if (::poll(&ready, 1, 0) <= 0 || !(ready.revents & (POLLIN | POLLHUP)))
            break;
        char buffer[4096];
        const ssize_t length = read(fd, buffer, sizeof buffer);
        if (length <= 0)
        {
            ended = true;
            break;
        }
        pending.append(buffer, static_cast<size_t>(length));
    }
    for (size_t end; (end = pending.find('\n')) != std::string::npos;)
    {
        lines.push_back(pending.substr(0, end));
        pending.erase(0, end + 1);
    }
    if (ended && !pending.empty())
    {
        lines.push_back(pending);
        pending.clear();
    }
    return lines;
}
