#include "production/HeadlessDisplay.h"

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

HeadlessDisplay::~HeadlessDisplay()
{
    if (xvfb > 0)
    {
        kill(xvfb, SIGTERM);
        waitpid(xvfb, nullptr, 0);
    }
}

bool HeadlessDisplay::offscreenWorks()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    const bool works = context != nullptr;
    if (context)
        SDL_GL_DeleteContext(context);
    if (window)
        SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return works;
}

bool HeadlessDisplay::open(std::string& error)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    if (offscreenWorks())
        return true;
    std::printf("Offscreen GL is not available here; starting Xvfb\n");
    return startXvfb(error);
}

bool HeadlessDisplay::startXvfb(std::string& error)
{
    // Xvfb writes the display number it chose to the descriptor we give it.
    int fds[2];
    if (pipe(fds) != 0)
    {
        error = "cannot create a pipe for Xvfb";
        return false;
    }
    xvfb = fork();
    if (xvfb == 0)
    {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (xvfb < 0)
    {
        close(fds[0]);
        error = "cannot start Xvfb";
        return false;
    }
    char number[16] = {};
    const ssize_t got = read(fds[0], number, sizeof number - 1);
    close(fds[0]);
    if (got <= 0)
    {
        error = "Xvfb did not start (is it installed?)";
        return false;
    }
    std::string display = ":" + std::string(number, static_cast<size_t>(got));
    while (!display.empty() && (display.back() == '\n' || display.back() == ' '))
        display.pop_back();
    setenv("DISPLAY", display.c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    return true;
}
