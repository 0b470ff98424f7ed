#include "production/effects/EffectSupport.h"

#include "demosys/script/ParameterGroup.h"
#include "demosys/timeline/TrackInterpolate.h"

#include <GL/glew.h>

void EffectSupport::fullScreenQuad()
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f); glVertex2f(-1.0f, 1.0f);
    glTexCoord2f(1.0f, 1.0f); glVertex2f(1.0f, 1.0f);
    glTexCoord2f(1.0f, 0.0f); glVertex2f(1.0f, -1.0f);
    glTexCoord2f(0.0f, 0.0f); glVertex2f(-1.0f, -1.0f);
    glEnd();
}

void EffectSupport::colourMaterial()
{
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void EffectSupport::white()
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

float EffectSupport::value(const TrackInterpolate* track, unsigned int time)
{
    return track ? track->getValue(time) : 0.0f;
}

std::string EffectSupport::parameter(const ParameterGroup* group, const std::string& key)
{
    return group ? group->getParameter(key) : std::string();
}

std::string EffectSupport::objectName(const ParameterGroup* group)
{
    return group ? group->getGroupName() : std::string();
}
