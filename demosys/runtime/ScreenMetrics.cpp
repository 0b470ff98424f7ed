#include "demosys/runtime/ScreenMetrics.h"

#include <GL/glew.h>

void ScreenMetrics::initView()
{
    frustumHalfWidth = 1.0f;
    frustumHalfHeight = 0.5625f;
    if (static_cast<long long>(width) * 9 > static_cast<long long>(height) * 16)
    {
        // Wider than 16:9: full height, centred horizontally, so nothing of
        // the picture falls outside the window.
        viewportHeight = height;
        viewportWidth = static_cast<int>(static_cast<float>(height) / 0.5625f);
        viewportX = (width - viewportWidth) / 2;
        viewportY = 0;
        return;
    }
    // 16:9 or taller: full width, letterboxed vertically.
    viewportX = 0;
    viewportWidth = width;
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
