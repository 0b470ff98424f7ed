#include "tests/support/GLTestContext.h"

#include "demosys/gl/GLEntryPoints.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
}

bool GLTestContext::open()
{
    if (window)
        return true;
    // With no X display, SDL's offscreen driver gives an EGL context on Mesa.
    if (!std::getenv("DISPLAY") && !std::getenv("SDL_VIDEODRIVER"))
        setenv("SDL_VIDEODRIVER", "offscreen", 1);

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "GLTestContext: SDL video: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    window = SDL_CreateWindow("tests", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, WIDTH, HEIGHT,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
    {
        std::fprintf(stderr, "GLTestContext: window: %s\n", SDL_GetError());
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (!context)
    {
        std::fprintf(stderr, "GLTestContext: context: %s\n", SDL_GetError());
        return false;
    }
    std::string error;
    if (!GLEntryPoints::load(&error))
    {
        std::fprintf(stderr, "GLTestContext: GLEW: %s\n", error.c_str());
        return false;
    }
    glViewport(0, 0, WIDTH, HEIGHT);
    return true;
}

void GLTestContext::close()
{
    if (context)
        SDL_GL_DeleteContext(context);
    if (window)
        SDL_DestroyWindow(window);
    context = nullptr;
    window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool GLTestContext::isOpen()
{
    return window != nullptr;
}

std::vector<unsigned char> GLTestContext::readPixels(int x, int y, int w, int h)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

unsigned int GLTestContext::takeGLError()
{
    unsigned int first = 0;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError())
        if (!first)
            first = e;
    return first;
}
