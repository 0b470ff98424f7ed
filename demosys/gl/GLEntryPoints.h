#pragma once

#include <string>

// Loads the OpenGL entry points through GLEW for the context that is current.
//
// Under a display without GLX (SDL's offscreen driver on EGL) GLEW 2.2 loads
// every GL entry point and only then fails its GLX step with
// GLEW_ERROR_NO_GLX_DISPLAY; the GL itself is usable, so that code counts as
// success here.
class GLEntryPoints
{
public:
    // False with GLEW's error string in `error` when loading failed.
    static bool load(std::string* error);
    // Whether the current context offers OpenGL 2.0 (valid after load()).
    static bool hasOpenGL20();
};
