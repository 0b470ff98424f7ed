#pragma once

#include "demosys/runtime/Effect.h"

class FrameBufferObject;
class TrackInterpolate;

// Carries the picture from one buffer to the next on two adjacent faces of a
// cube: "buffer1" on the front, "buffer2" on the right-hand face. The track
// "rot" turns the cube (90 degrees shows only the second face) and "zpos"
// moves it along the view axis. Each picture keeps its 16:9 shape on the
// square face, with the border colour above and below.
class CubeTransitionEffect : public Effect
{
public:
    CubeTransitionEffect() = default;
    ~CubeTransitionEffect() override = default;

    void draw(unsigned int time, unsigned int frameTime) override;
    void init() override;
    void reset() override;
    Effect* getInstance() override;
    void registerTracks() override;

    bool isReady() const { return ready; }
    float getZPosition() const { return zPosition; }
    float getRotation() const { return rotation; }

private:
    void drawFace(FrameBufferObject* buffer, const float corners[4][3]);

    FrameBufferObject* buffer1 = nullptr;
    FrameBufferObject* buffer2 = nullptr;
    TrackInterpolate* zTrack = nullptr;
    TrackInterpolate* rotationTrack = nullptr;
    float zPosition = 0.0f;
    float rotation = 0.0f;
    bool ready = false;
};
