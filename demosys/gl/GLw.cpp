#include "demosys/gl/GLw.h"

#include <GL/glew.h>

void GLw::resetModelview()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void GLw::resetProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
}

void GLw::resetProjectionModelview()
{
    resetProjection();
    resetModelview();
}

void GLw::resetAndStoreProjectionModelview()
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void GLw::restoreProjectionModelview()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void GLw::blendTransparentAlpha()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
