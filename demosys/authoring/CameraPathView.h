#pragma once

struct CameraTakeover;

// The camera path a scene flew in this frame, drawn over the finished
// picture with the matrices the scene was drawn with: the curve the camera
// follows, its keyframes as points, and where the camera is on it now. With
// the fly camera on, the path is seen from outside, as a track in the scene.
class CameraPathView
{
public:
    // Draws nothing unless a path was posed in frame `frame`. The GL state
    // it changes is put back.
    static void draw(const CameraTakeover& takeover, unsigned int frame, int viewportX, int viewportY,
                     int viewportWidth, int viewportHeight);
};
