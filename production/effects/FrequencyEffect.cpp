#include "production/effects/FrequencyEffect.h"

#include "demosys/gl/GLw.h"
#include "production/effects/EffectParameters.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

namespace {
const float GRAPH_COLOUR[3] = { 0.8f, 0.8f, 0.8f };
// More bars than a screen's width can show apart are not drawn.
constexpr int MOST_BARS = 128;
// Peak caps fall this many graph units per millisecond.
constexpr float PEAK_FALL = 0.0004f;
// Bars: warm at the bass, cool towards the top of the spectrum.
const float BASS_COLOUR[3] = { 1.0f, 0.3f, 0.08f };
const float TREBLE_COLOUR[3] = { 0.1f, 0.55f, 1.0f };
} // namespace

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
    graphLeft = EffectParameters::number(parameters, "left", 0.45f);
    graphBottom = EffectParameters::number(parameters, "bottom", -0.95f);
    graphWidth = EffectParameters::number(parameters, "width", 0.5f);
    graphGain = EffectParameters::number(parameters, "gain", 0.1f);
    const int bars = static_cast<int>(EffectParameters::number(parameters, "bars", 0.0f));
    barHeights.assign(static_cast<size_t>(std::min(std::max(bars, 0), MOST_BARS)), 0.0f);
    peaks.assign(barHeights.size(), 0.0f);

    // Bars spaced by octaves rather than by bins, as the ear hears them, each
    // at least one bin wide: the edges grow as 2^(9b/bars) over 512 bins,
    // from the first bin above the constant one.
    const int bins = spectrum.length();
    const int count = static_cast<int>(barHeights.size());
    barEdges.assign(static_cast<size_t>(count) + 1, bins);
    const float octavesPerBar = std::log2(static_cast<float>(bins)) / static_cast<float>(std::max(count, 1));
    int edge = 1;
    for (int b = 0; b < count; ++b)
    {
        barEdges[static_cast<size_t>(b)] = edge;
        const int next = static_cast<int>(std::exp2(octavesPerBar * static_cast<float>(b + 1)));
        edge = std::min(std::max(edge + 1, next), bins - (count - 1 - b));
    }
    if (count > 0)
        barEdges[static_cast<size_t>(count)] = bins;
}

void FrequencyEffect::draw(unsigned int, unsigned int frameTime)
{
    GLw::resetAndStoreProjectionModelview();

    const int n = spectrum.length();
    spectrum.read();
    float* mean = spectrum.sum();
    for (int i = 0; i < n; ++i)
        mean[i] *= 0.5f;

    if (barHeights.empty())
    {
        // The line is drawn 0.5 wide from x = -1 with gain 0.1: moved to
        // its left edge and bottom, and sized.
        glTranslatef(graphLeft, graphBottom, 0.0f);
        glScalef(graphWidth / 0.5f, graphGain / 0.1f, 1.0f);
        glTranslatef(1.0f, 0.0f, 0.0f);
        drawFrequencyRange(mean, 0.0f, n, GRAPH_COLOUR);
    }
    else
        drawBars(frameTime);

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

void FrequencyEffect::drawBars(unsigned int frameTime)
{
    // Each bar is the loudest of its bins, lifted by index as the line is;
    // the caps stay on a bar's recent peak and fall back slowly, so that a
    // beat's height can still be read after it.
    const int bars = static_cast<int>(barHeights.size());
    const float* mean = spectrum.sum();
    const float fall = PEAK_FALL * static_cast<float>(frameTime);
    for (int b = 0; b < bars; ++b)
    {
        const int first = barEdges[static_cast<size_t>(b)], last = barEdges[static_cast<size_t>(b) + 1];
        float loudest = 0.0f;
        for (int i = first; i < last; ++i)
            loudest = std::max(loudest, mean[static_cast<size_t>(i)] * static_cast<float>(i + 1));
        const float height = std::min(loudest * graphGain, 1.9f);
        barHeights[static_cast<size_t>(b)] = height;
        float& peak = peaks[static_cast<size_t>(b)];
        peak = std::max(height, peak - fall);
    }

    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    const float step = graphWidth / static_cast<float>(bars);
    const float gap = step * 0.2f;
    const float cap = 0.012f;
    glBegin(GL_QUADS);
    for (int b = 0; b < bars; ++b)
    {
        const float t = bars > 1 ? static_cast<float>(b) / static_cast<float>(bars - 1) : 0.0f;
        float colour[3];
        for (int k = 0; k < 3; ++k)
            colour[k] = BASS_COLOUR[k] + (TREBLE_COLOUR[k] - BASS_COLOUR[k]) * t;
        const float x0 = graphLeft + static_cast<float>(b) * step, x1 = x0 + step - gap;
        const float top = graphBottom + barHeights[static_cast<size_t>(b)];
        // Dim at the foot, full and whiter towards the tip.
        glColor3f(colour[0] * 0.25f, colour[1] * 0.25f, colour[2] * 0.25f);
        glVertex2f(x0, graphBottom);
        glVertex2f(x1, graphBottom);
        glColor3f(std::min(colour[0] + 0.3f, 1.0f), std::min(colour[1] + 0.3f, 1.0f), std::min(colour[2] + 0.3f, 1.0f));
        glVertex2f(x1, top);
        glVertex2f(x0, top);
        const float peak = graphBottom + peaks[static_cast<size_t>(b)] + cap;
        glColor3f(1.0f, 1.0f, 1.0f);
        glVertex2f(x0, peak);
        glVertex2f(x1, peak);
        glVertex2f(x1, peak + cap);
        glVertex2f(x0, peak + cap);
    }
    glEnd();
    glPopAttrib();
}
