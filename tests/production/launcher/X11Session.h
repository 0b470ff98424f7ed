#pragma once

#include <string>
#include <vector>

// A client connection of the test's own to the X server, for what this
// xdotool cannot do: ask a window to close the way a window manager does,
// and read back what a window shows.
class X11Session
{
public:
    // A window's contents as 8-bit RGB, top row first.
    struct Picture
    {
        int width = 0;
        int height = 0;
        std::vector<unsigned char> rgb;

        bool empty() const { return rgb.empty(); }
        const unsigned char* at(int x, int y) const { return &rgb[static_cast<size_t>((y * width + x) * 3)]; }
    };

    explicit X11Session(const std::string& display);
    ~X11Session();

    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    bool isOpen() const { return connection != nullptr; }
    // Sends WM_DELETE_WINDOW, as a window manager's close button does.
    bool requestClose(unsigned long window);
    // What the server holds for the whole window now; empty when the window
    // is gone or not shown. Without a compositor that is what is on the
    // screen, so the window must not be covered.
    Picture grab(unsigned long window);

private:
    void* connection = nullptr;
};
