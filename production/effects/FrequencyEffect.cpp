#include "production/effects/FrequencyEffect.h"
#include "demosys/gl/GLw.h"

#include "demosys/sound/FMODTimer.h"
#include "demosys/runtime/MRVDemosys.h"

#include <GL/glew.h>

#include <algorithm>

namespace {
// The FFT window the graph was tuned with.
constexpr int WINDOW_TYPE = 2;
const float GRAPH_COLOUR[3] = { 0.8f, 0.8f, 0.8f };
}

Effect* FrequencyEffect::getInstance()
{
    return new FrequencyEffect();
}

void FrequencyEffect::reset()
{
    spectrumLength = 512;
}

void FrequencyEffect::init()
{
    reset();
    if (left.empty())
    {
        const size_t n = static_cast<size_t>(spectrumLength);
        left.assign(n, 0.0f);
        right.assign(n, 0.0f);
        mean.assign(n, 0.0f);
    }
}

void FrequencyEffect::draw(unsigned int, unsigned int)
{
    if (mean.empty())
        return;
    GLw::resetAndStoreProjectionModelview();

    const int n = static_cast<int>(mean.size());
    if (MRVDemosys::timer)
    {
        MRVDemosys::timer->getSpectrum(left.data(), n, 0, WINDOW_TYPE);
        MRVDemosys::timer->getSpectrum(right.data(), n, 1, WINDOW_TYPE);
    }
    else
    {
        std::fill(left.begin(), left.end(), 0.0f);
        std::fill(right.begin(), right.end(), 0.0f);
    }
    for (int i = 0; i < n; ++i)
        mean[static_cast<size_t>(i)] = (left[static_cast<size_t>(i)] + right[static_cast<size_t>(i)]) * 0.5f;

    glTranslatef(1.45f, 0.0f, 0.0f);
    drawFrequencyRange(mean.data(), -0.95f, n, GRAPH_COLOUR);

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
