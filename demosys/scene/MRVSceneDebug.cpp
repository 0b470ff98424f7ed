#include "demosys/scene/MRVSceneDebug.h"

#include <GL/glew.h>

namespace {

void begin()
{
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 0.0f, 0.0f);
    glLineWidth(3.0f);
    glBegin(GL_LINES);
}

void end()
{
    glEnd();
    glLineWidth(1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_COLOR_MATERIAL);
}

} // namespace

void MRVSceneDebug::drawLine(const Vector<float, 3>& from, const Vector<float, 3>& to)
{
    begin();
    glVertex3fv(from.data());
    glVertex3fv(to.data());
    end();
}

void MRVSceneDebug::drawBox(const Vector<float, 3>& min, const Vector<float, 3>& max)
{
    // Corner k takes max for every axis whose bit is set in k.
    auto corner = [&](int k) {
        return Vector<float, 3>(k & 1 ? max[0] : min[0], k & 2 ? max[1] : min[1], k & 4 ? max[2] : min[2]);
    };
    begin();
    for (int k = 0; k < 8; ++k)
    {
        for (int axis = 1; axis < 8; axis <<= 1)
        {
            // Each edge once: from the corner without the axis bit.
            if (k & axis)
                continue;
            const Vector<float, 3> a = corner(k), b = corner(k | axis);
            glVertex3fv(a.data());
            glVertex3fv(b.data());
        }
    }
    end();
}
