#include "demosys/authoring/CameraPathView.h"

#include "demosys/timeline/Animation.h"
#include "demosys/timeline/CameraTakeover.h"
#include "demosys/timeline/Keyframe.h"

#include <GL/glew.h>

void CameraPathView::draw(const CameraTakeover& takeover, unsigned int frame, int viewportX, int viewportY,
                          int viewportWidth, int viewportHeight)
{
    const Animation* path = takeover.path;
    if (!path || !takeover.keepMatrices || takeover.frame != frame || path->countKeyFrames() == 0)
        return;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glUseProgram(0);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_POINT_BIT | GL_VIEWPORT_BIT |
                 GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(viewportX, viewportY, viewportWidth, viewportHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixf(takeover.projection);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadMatrixf(takeover.modelView);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    glLineWidth(2.0f);
    glColor3f(0.3f, 0.9f, 1.0f);
    if (path->getInterpolationType() == Animation::CATMULL_ROM)
        path->drawCatmul();
    else
        path->draw();
    glPointSize(7.0f);
    glColor3f(1.0f, 0.85f, 0.35f);
    glBegin(GL_POINTS);
    for (int i = 0; i < path->countKeyFrames(); ++i)
        glVertex3fv(path->getKeyFrame(i)->getPosition().data());
    glEnd();
    // Where the path's own camera is now: with the fly camera on, that is
    // where the author's view leaves it.
    glPointSize(9.0f);
    glColor3f(1.0f, 0.3f, 0.25f);
    glBegin(GL_POINTS);
    glVertex3fv(path->getPosition().data());
    glEnd();

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glUseProgram(static_cast<GLuint>(program));
}
