#pragma once

#include "demosys/math/Vector.h"

#include <memory>

class Texture;
class VBODynamic;

// The stereo's dot-matrix display: a black panel, and before it 8 rows of
// 150 glowing dots that scroll through the greetings map while switched on.
// The map holds three floats per pixel (the first of them decides: exactly 0
// is a lit dot) in rows of 1914 pixels; the display shows a 150-pixel window
// of eight rows from wherever the read position stands. While off, every dot
// is dim and the window stands still.
//
// The dots are one vertex buffer built once by build(); a drawing only
// rewrites their colours. Pool objects (the map, the sprite) are not owned.
class GreetingsDisplay
{
public:
    static constexpr int ROWS = 8;
    static constexpr int COLUMNS = 150;
    // Floats in one map row, and in the eight rows a drawing reads.
    static constexpr int ROW_VALUES = 5742;
    static constexpr int MAP_VALUES = ROWS * ROW_VALUES;
    // The read position wraps here: a 150-pixel window over 1764 pixels.
    static constexpr float WRAP = 5292.0f;
    // Dot pitch and size.
    static constexpr float DOT_STEP = 0.035f;

    GreetingsDisplay();
    ~GreetingsDisplay();

    GreetingsDisplay(const GreetingsDisplay&) = delete;
    GreetingsDisplay& operator=(const GreetingsDisplay&) = delete;

    // The map (at least MAP_VALUES floats) and the dot sprite.
    void setMap(const float* map_) { map = map_; }
    void setSprite(Texture* sprite_) { sprite = sprite_; }
    // The panel spans the box's x and y in the plane halfway through its
    // depth; corners c0..c3 run (min x, max y), (min x, min y), (max x,
    // min y), (max x, max y).
    void setPanel(const Vector<float, 3>& lo, const Vector<float, 3>& hi);
    // The dots' geometry; with a GL context, once.
    void build();

    void switchOn(bool on_) { on = on_; }

    // The panel in the current colour-material state, black.
    void drawPanel() const;
    // Dots from (0, 0) to the right and down, DOT_STEP apart, coloured from
    // the map; then, while on, the window moves frameTime / 6 floats.
    void draw(float frameTime);

    float getReadPosition() const { return readPosition; }
    bool isOn() const { return on; }
    // Lit dots of the last drawing.
    int getBrightDots() const { return brightDots; }
    // c0..c3, three values each.
    const float* getPanel() const { return panel; }
    float getPanelDepth() const { return panelDepth; }

private:
    const float* map = nullptr;
    Texture* sprite = nullptr;
    std::unique_ptr<VBODynamic> dots;
    float panel[12] = {};
    float panelDepth = 0.0f;
    float readPosition = 0.0f;
    bool on = false;
    int brightDots = 0;
};
