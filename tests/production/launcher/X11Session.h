#pragma once

#include <string>

// A client connection of the test's own to the X server, for what this
// xdotool cannot do: ask a window to close the way a window manager does.
class X11Session
{
public:
    explicit X11Session(const std::string& display);
    ~X11Session();

    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool isOpen() const { return connection != nullptr; }
    // Sends WM_DELETE_WINDOW, as a window manager's close button does.
    bool requestClose(unsigned long window);

private:
    void* connection = nullptr;
};
