#pragma once

#include <string>

struct CameraTakeover;

// The author's camera: it flies where the keys and the mouse take it and,
// while on, poses every scene in place of the scene's camera path (through
// the takeover the paths read). Axes and angles are those of the camera
// path files: at heading 0 and pitch 0 the view runs down -z, a positive
// heading turns right, a positive pitch looks down.
//
//   W / S       forward / back along the view
//   A / D       left / right
//   Q / E       down / up
//   Shift       five times as fast
//   mouse drag  look around (right: heading, down: pitch)
class FlyCamera
{
public:
    // Scene units a second, without Shift.
    static constexpr float SPEED = 20.0f;
    // Degrees a pixel of mouse movement.
    static constexpr float LOOK = 0.25f;

    explicit FlyCamera(CameraTakeover& takeover) : takeover(takeover) {}

    bool isFlying() const;
    // Flying from the shared camera's pose now, so that the view does not
    // jump; or from the given pose.
    void start();
    void set(float x, float y, float z, float pitch, float heading);
    // Back to the scene's path.
    void stop();

    // What the held keys do over `seconds`, in SDL scancode order
    // (SDL_GetKeyboardState); nothing while not flying.
    void move(const unsigned char* keys, bool fast, float seconds);
    void look(float dx, float dy);

    // "[x, y, z] pitch P heading H", as a camera set command takes them.
    std::string describe() const;

private:
    CameraTakeover& takeover;
};
