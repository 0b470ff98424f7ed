#pragma once

#include <vector>

// One small hidden SDL2 window with an OpenGL 2.x compatibility context, open
// for the whole life of a test binary. Tests read pixels back from it.
class GLTestContext
{
public:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 64;

    // Opens the window and loads the GL entry points; false with a message on
    // standard error when no context could be had.
    static bool open();
    static void close();
    static bool isOpen();

    // RGBA pixels of the bound read framebuffer, bottom row first.
    static std::vector<unsigned char> readPixels(int x, int y, int w, int h);
    // Drains the GL error queue; returns the first error or 0.
    static unsigned int takeGLError();
};
