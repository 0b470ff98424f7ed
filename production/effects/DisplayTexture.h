#pragma once

#include "demosys/runtime/Effect.h"

class Shader;
class Texture;
class TrackInterpolate;

// One picture on a quad under the screen's perspective, placed, sized,
// turned, faded and scrolled by tracks. With all tracks at 0 the quad spans
// (-1, -1)..(1, 1) at z = -1.
class DisplayTexture : public Effect
{
public:
    DisplayTexture() = default;
    ~DisplayTexture() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

    bool isBlending() const { return blend; }
    bool isScrolling() const { return scrolling; }
    float getScrollU() const { return u; }
    float getScrollV() const { return v; }
    Shader* getShader() const { return shader; }

private:
    enum TrackIndex
    {
        ALPHA, POS_X, POS_Y, POS_Z, SIZE_X, SIZE_Y, ROT_X, ROT_Y, ROT_Z, SCROLL_X, SCROLL_Y, TRACK_COUNT
    };

    Texture* texture = nullptr;
    bool blend = false;
    Shader* shader = nullptr;
    int colorUniform = -1;
    TrackInterpolate* tracks[TRACK_COUNT] = {};

    float alpha = 1.0f;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float halfWidth = 0.0f, halfHeight = 0.0f;
    float rotX = 0.0f, rotY = 0.0f, rotZ = 0.0f;
    float scrollX = 0.0f, scrollY = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
    bool scrolling = false;
};
