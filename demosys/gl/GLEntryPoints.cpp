#include "demosys/gl/GLEntryPoints.h"

#include <GL/glew.h>

bool GLEntryPoints::load(std::string* error)
{
    glewExperimental = GL_TRUE;
    const GLenum result = glewInit();
    if (result == GLEW_OK)
        return true;
#ifdef GLEW_ERROR_NO_GLX_DISPLAY
    if (result == GLEW_ERROR_NO_GLX_DISPLAY)
        return true;
#endif
    if (error)
        *error = reinterpret_cast<const char*>(glewGetErrorString(result));
    return false;
}

bool GLEntryPoints::hasOpenGL20()
{
    return GLEW_VERSION_2_0 != 0;
}
