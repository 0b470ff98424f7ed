#include "demosys/runtime/ProgressBar.h"

#include "demosys/gl/GLw.h"
#include "demosys/runtime/MRVDemosys.h"

#include <GL/glew.h>

#include <iostream>

ProgressBar::ProgressBar(int ticks_)
    : ticks(ticks_)
{
}

ProgressBar::ProgressBar(float height_, float width_, float centerY_, int ticks_)
    : height(height_), width(width_), centerY(centerY_), ticks(ticks_)
{
}

ProgressBar::~ProgressBar() = default;

void ProgressBar::tick()
{
    if (count == ticks)
        return;
    // Measured before this step counts, so the plain bar never quite fills.
    progress = ticks != 0 ? static_cast<float>(count) / static_cast<float>(ticks) : 0.0f;
    ++count;
    std::cout << "Current step = " << count << std::endl;
    draw();
}

void ProgressBar::loadData()
{
}

namespace {

void rectangle(float left, float right, float bottom, float top)
{
    glBegin(GL_QUADS);
    glVertex2f(left, bottom);
    glVertex2f(right, bottom);
    glVertex2f(right, top);
    glVertex2f(left, top);
    glEnd();
}

} // namespace

void ProgressBar::draw()
{
    GLw::resetAndStoreProjectionModelview();

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_COLOR_MATERIAL);

    const float half = width * 0.5f;
    const float bottom = centerY - height * 0.5f, top = centerY + height * 0.5f;
    glColor3f(1.0f, 1.0f, 1.0f);
    rectangle(-half, half, bottom, top);
    glColor3f(0.0f, 0.0f, 0.0f);
    rectangle(-half + 0.01f, half - 0.01f, bottom + 0.012f, top - 0.012f);
    glColor3f(1.0f, 1.0f, 1.0f);
    rectangle(-half + 0.015f, -half + 0.015f + (width - 0.03f) * progress, bottom + 0.019f, top - 0.019f);

    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_COLOR_MATERIAL);
    GLw::restoreProjectionModelview();
    MRVDemosys::swapBuffers();
}
