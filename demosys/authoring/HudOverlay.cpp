#include "demosys/authoring/HudOverlay.h"

#include "demosys/authoring/HudText.h"
#include "demosys/gl/GLw.h"
#include "demosys/timeline/TrackGroup.h"
#include "demosys/timeline/TrackStartStop.h"
#include "demosys/timeline/TrackSystem.h"
#include "mrvutils/BitmapFont.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace {

// One 8x8 cell for each of the 128 ASCII codes, 16 cells a row.
const int CELL = 8;
const int ATLAS_COLUMNS = 16;
const int ATLAS_WIDTH = CELL * ATLAS_COLUMNS;
const int ATLAS_HEIGHT = CELL * 128 / ATLAS_COLUMNS;
const int LINE_HEIGHT = BitmapFont::HEIGHT + 2;
const int MARGIN = 4;
// Text stays one font pixel per screen pixel up to this picture height, then
// grows in whole steps so that it stays sharp.
const int HEIGHT_PER_SCALE = 360;

} // namespace

HudOverlay::HudOverlay(int rowsPerBeat_, int beatsPerBar_) : rowsPerBeat(rowsPerBeat_), beatsPerBar(beatsPerBar_)
{
    std::vector<unsigned char> atlas(static_cast<size_t>(ATLAS_WIDTH * ATLAS_HEIGHT), 0);
    for (int code = 32; code < 127; ++code)
    {
        const std::vector<uint8_t> columns = BitmapFont::glyph(static_cast<char>(code));
        const int left = code % ATLAS_COLUMNS * CELL;
        const int top = code / ATLAS_COLUMNS * CELL;
        const int width = std::min(static_cast<int>(columns.size()), CELL);
        for (int x = 0; x < width; ++x)
            for (int r = 0; r < BitmapFont::HEIGHT; ++r)
                if ((columns[static_cast<size_t>(x)] >> r) & 1u)
                    atlas[static_cast<size_t>((top + r) * ATLAS_WIDTH + left + x)] = 255;
        advance[code] = static_cast<unsigned char>(width + 1);
    }

    GLint bound = 0;
    GLint alignment = 4;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA, ATLAS_WIDTH, ATLAS_HEIGHT, 0, GL_ALPHA, GL_UNSIGNED_BYTE, atlas.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
}

HudOverlay::~HudOverlay()
{
    if (texture)
        glDeleteTextures(1, &texture);
}

void HudOverlay::nameTarget(const FrameBufferObject* target, const std::string& name)
{
    targets.emplace_back(target, name);
}

const char* HudOverlay::targetName(const FrameBufferObject* target) const
{
    if (!target)
        return nullptr;
    for (const auto& named : targets)
        if (named.first == target)
            return named.second.c_str();
    return "?";
}

void HudOverlay::draw(unsigned int time, unsigned int row, double fps, double cpuMs, const TrackSystem& tracks, int x,
                      int y, int width, int height)
{
    HudText::position(lines[0], LINE_SIZE, time, row, rowsPerBeat, beatsPerBar);
    HudText::frame(lines[1], LINE_SIZE, fps, cpuMs);
    int count = 2;
    for (int i = 0; i < tracks.getSortedTrackGroupCount() && count < MAX_LINES; ++i)
    {
        const TrackGroup* group = tracks.getSortedTrackGroup(i);
        if (!group->getEffect() || !group->isActive(time, row))
            continue;
        const TrackStartStop* track = group->getStartStopTrack();
        HudText::effect(lines[count++], LINE_SIZE, group->getName().c_str(), targetName(track->getRenderTarget(row)),
                        track->getAuthoredPriority());
    }

    GLint program = 0;
    GLint activeUnit = GL_TEXTURE0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    glActiveTexture(GL_TEXTURE0);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT |
                 GL_TRANSFORM_BIT | GL_VIEWPORT_BIT | GL_POLYGON_BIT | GL_LIGHTING_BIT | GL_FOG_BIT);
    glUseProgram(0);
    glViewport(x, y, width, height);
    GLw::resetAndStoreProjectionModelview();
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    drawText(count, std::max(1, height / HEIGHT_PER_SCALE));

    GLw::restoreProjectionModelview();
    glPopAttrib();
    glActiveTexture(static_cast<GLenum>(activeUnit));
    glUseProgram(static_cast<GLuint>(program));
}

void HudOverlay::drawText(int lineCount, int scale) const
{
    // A dark panel under the text keeps it readable over any scene.
    int widest = 0;
    for (int i = 0; i < lineCount; ++i)
    {
        int w = 0;
        for (const char* c = lines[i]; *c; ++c)
            w += advance[static_cast<unsigned char>(*c) & 127u];
        widest = std::max(widest, w);
    }
    const float s = static_cast<float>(scale);
    const float right = (2.0f * MARGIN + static_cast<float>(widest)) * s;
    const float bottom = (2.0f * MARGIN + static_cast<float>(lineCount * LINE_HEIGHT)) * s;
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_QUADS);
    glVertex2f(0.0f, 0.0f);
    glVertex2f(0.0f, bottom);
    glVertex2f(right, bottom);
    glVertex2f(right, 0.0f);
    glEnd();

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(1.0f, 0.95f, 0.6f, 1.0f);
    const float du = static_cast<float>(CELL) / ATLAS_WIDTH;
    const float dv = static_cast<float>(CELL) / ATLAS_HEIGHT;
    glBegin(GL_QUADS);
    for (int i = 0; i < lineCount; ++i)
    {
        float penX = MARGIN * s;
        const float top = static_cast<float>(MARGIN + i * LINE_HEIGHT) * s;
        for (const char* c = lines[i]; *c; ++c)
        {
            const int code = static_cast<unsigned char>(*c) & 127;
            const float u = static_cast<float>(code % ATLAS_COLUMNS) * du;
            const float v = static_cast<float>(code / ATLAS_COLUMNS) * dv;
            const float cell = CELL * s;
            glTexCoord2f(u, v);
            glVertex2f(penX, top);
            glTexCoord2f(u, v + dv);
            glVertex2f(penX, top + cell);
            glTexCoord2f(u + du, v + dv);
            glVertex2f(penX + cell, top + cell);
            glTexCoord2f(u + du, v);
            glVertex2f(penX + cell, top);
            penX += static_cast<float>(advance[code]) * s;
        }
    }
    glEnd();
}
