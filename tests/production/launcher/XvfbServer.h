#pragma once

#include <sys/types.h>

#include <string>

// A private virtual X server for the tests that show windows. The server
// picks a free display number itself and reports it once it accepts
// clients, so no test guesses a number or waits a fixed time.
class XvfbServer
{
public:
    XvfbServer() = default;
    ~XvfbServer();

    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // `screen` as Xvfb takes it, e.g. "1280x1024x24". False when the server
    // did not come up within the timeout; error() says why.
    bool start(const std::string& screen, int timeoutMs);
    void stop();

    // ":N", for DISPLAY.
    const std::string& display() const { return name; }
    const std::string& error() const { return failure; }

private:
    pid_t server = -1;
    std::string name;
    std::string failure;
};
