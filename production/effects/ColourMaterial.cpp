#include "production/effects/ColourMaterial.h"

#include <GL/glew.h>

void ColourMaterial::enable()
{
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void ColourMaterial::disable()
{
    glDisable(GL_COLOR_MATERIAL);
}

void ColourMaterial::white()
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
