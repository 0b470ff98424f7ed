#pragma once

#include <string>
#include <utility>
#include <vector>

class FrameBufferObject;
class TrackSystem;

// The authoring overlay (--dev): the clock, row and beat, the frame rate and
// the last frame's CPU time, and every effect drawing at this row with its
// render target and priority, in the pixel font over the top left corner of
// the picture. Drawn with the fixed-function pipeline after the effects;
// every GL state it touches is put back.
//
// The glyphs are one small texture made at construction, which must happen
// with the GL context current; the destructor deletes it, so the overlay
// must go before the context does.
class HudOverlay
{
public:
    static constexpr int MAX_LINES = 24;
    static constexpr int LINE_SIZE = 80;

    // rowsPerBeat 0 or below shows no bar and beat.
    HudOverlay(int rowsPerBeat, int beatsPerBar);
    ~HudOverlay();

    HudOverlay(const HudOverlay&) = delete;
    HudOverlay& operator=(const HudOverlay&) = delete;

    // The name a render target is shown by; unnamed ones show as '?'.
    void nameTarget(const FrameBufferObject* target, const std::string& name);

    // Into the viewport at (x, y) of that size; the screen framebuffer must
    // be bound.
    void draw(unsigned int time, unsigned int row, double fps, double cpuMs, const TrackSystem& tracks, int x, int y,
              int width, int height);

private:
    void drawText(int lineCount, int scale) const;
    const char* targetName(const FrameBufferObject* target) const;

    // Few enough to search by pointer every frame.
    std::vector<std::pair<const FrameBufferObject*, std::string>> targets;
    unsigned int texture = 0;
    int rowsPerBeat;
    int beatsPerBar;
    unsigned char advance[128] = {};
    char lines[MAX_LINES][LINE_SIZE] = {};
};
