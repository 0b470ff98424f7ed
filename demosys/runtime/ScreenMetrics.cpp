#include "demosys/runtime/ScreenMetrics.h"

#include <GL/glew.h>

void ScreenMetrics::initView()
{
    frustumHalfWidth = 1.0f;
    frustumHalfHeight = 0.5625f;
    viewportX = 0;
    // One pixel narrower than the window, as productions have always been
    // framed.
    viewportWidth = width - 1;
    const int h = static_cast<int>(static_cast<float>(width) * 0.5625f);
    viewportY = static_cast<int>(static_cast<float>(height - h) * 0.5f);
    viewportHeight = h;
}

void ScreenMetrics::resize(int w, int h)
{
    width = w;
    height = h;
    initView();
}

void ScreenMetrics::setView() const
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(viewportX, viewportY, viewportWidth, viewportHeight);
    glFrustum(-static_cast<double>(frustumHalfWidth), static_cast<double>(frustumHalfWidth),
              -static_cast<double>(frustumHalfHeight), static_cast<double>(frustumHalfHeight),
              static_cast<double>(near_), static_cast<double>(far_));
    glMatrixMode(GL_MODELVIEW);
}
