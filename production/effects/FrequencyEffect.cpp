#include "production/effects/FrequencyEffect.h"

#include "demosys/gl/GLw.h"

#include <GL/glew.h>

namespace {
const float GRAPH_COLOUR[3] = { 0.8f, 0.8f, 0.8f };
}

Effect* FrequencyEffect::getInstance()
{
    return new FrequencyEffect();
}

void FrequencyEffect::reset()
{
}

void FrequencyEffect::init()
{
    reset();
}

void FrequencyEffect::draw(unsigned int, unsigned int)
{
    GLw::resetAndStoreProjectionModelview();

    const int n = spectrum.length();
    spectrum.read();
    float* mean = spectrum.sum();
    for (int i = 0; i < n; ++i)
        mean[i] *= 0.5f;

    glTranslatef(1.45f, 0.0f, 0.0f);
    drawFrequencyRange(mean, -0.95f, n, GRAPH_COLOUR);

    GLw::restoreProjectionModelview();
}

void FrequencyEffect::drawFrequencyRange(const float* values, float base, int count, const float* colour)
{
    const float width = 0.5f / static_cast<float>(count);
    glColor3fv(colour);
    glBegin(GL_LINES);
    for (int i = 0; i < count; ++i)
    {
        glVertex2f(static_cast<float>(i) * width - 1.0f, values[i] * 0.1f * static_cast<float>(i + 1) + base);
        // Pairs of GL_LINES vertices: each band repeats its right neighbour
        // so that the segments join; the last band's lone vertex is dropped.
        if (i < count - 1)
            glVertex2f(static_cast<float>(i + 1) * width - 1.0f,
                       values[i + 1] * 0.1f * static_cast<float>(i + 2) + base);
    }
    glEnd();
}
