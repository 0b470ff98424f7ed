#include "production/NeonProgressBar.h"

#include "demosys/gl/Texture.h"
#include "demosys/runtime/MRVDemosys.h"

#include <GL/glew.h>

NeonProgressBar::NeonProgressBar(int ticks_)
    : ProgressBar(ticks_)
{
}

NeonProgressBar::~NeonProgressBar()
{
    delete background;
    delete bar;
}

void NeonProgressBar::loadData()
{
    background = MRVDemosys::loadTexture("resources/graphics/Loading1.png", GL_TEXTURE_2D, false);
    bar = MRVDemosys::loadTexture("resources/graphics/Loading2.png", GL_TEXTURE_2D, false);
}

void NeonProgressBar::draw()
{
    // Counted after the step, so the last tick shows the full bar.
    fraction = ticks != 0 ? static_cast<float>(count) / static_cast<float>(ticks) : 0.0f;
    if (fraction > 1.0f)
        fraction = 1.0f;

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // A picture that failed to load is left out; the other still shows.
    if (background)
        background->drawQuadFS();

    glDisable(GL_DEPTH_TEST);
    if (bar)
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        bar->bind();
        const float right = 2.0f * fraction - 1.0f;
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f); glVertex2f(-1.0f, -1.0f);
        glTexCoord2f(fraction, 0.0f); glVertex2f(right, -1.0f);
        glTexCoord2f(fraction, 1.0f); glVertex2f(right, 1.0f);
        glTexCoord2f(0.0f, 1.0f); glVertex2f(-1.0f, 1.0f);
        glEnd();
        bar->release();
    }

    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_COLOR_MATERIAL);
    MRVDemosys::swapBuffers();
}
