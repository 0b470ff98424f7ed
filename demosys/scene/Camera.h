#pragma once

#include "demosys/math/Matrix.h"
#include "demosys/math/Quaternion.h"
#include "demosys/math/Vector.h"

// A first-person camera: a position, a pitch about the x axis and a heading
// about the y axis, in degrees. setGLMatrixes turns them into the model-view
// transform; the velocity moves the camera along its view direction once per
// call.
class Camera
{
public:
    Camera() = default;

    void setPosition(const Vector<float, 3>& p) { position = p; }
    const Vector<float, 3>& getPosition() const { return position; }
    Camera& setPitch(float degrees);
    float getPitch() const { return pitch; }
    Camera& setHeading(float degrees);
    float getHeading() const { return heading; }
    float getVelocity() const { return velocity; }
    // The forward direction found by the last setGLMatrixes.
    const Vector<float, 3>& getDirection() const { return direction; }
    // After setGLMatrixes: the heading-then-pitch rotation and its matrix,
    // which is not the matrix multiplied onto the model-view (pitch-then-heading).
    const Quaternion<float>& getQuat() const { return orientation; }
    const Matrix<float, 4, 4, 16>& getRawMatrix() const { return rawMatrix; }

    // Pitch, heading, velocity and position back to 0.
    void reset();
    // Steps beyond the maximum are cut to it; the comparisons are kept exactly
    // as the controls were tuned: a pitch step of exactly the maximum counts
    // as too large, and a too-large heading step always turns to the positive side.
    void changePitch(float step);
    void changeHeading(float step);
    void changeVelocity(float step);
    void tiltLeft() {}
    void tiltRight() {}

    // Multiplies the camera's rotation onto the current model-view matrix,
    // advances the position by the velocity along the view direction, and
    // translates to it. The caller loads the base matrix first.
    void setGLMatrixes();

    // "Camera : [x,y,z], pitch = p, heading = h" on standard output.
    void printInfo() const;

private:
    float pitch = 0.0f;
    float heading = 0.0f;
    float maxPitchStep = 5.0f;
    float maxHeadingStep = 5.0f;
    float maxVelocityStep = 100.0f;
    float velocity = 0.0f;
    Vector<float, 3> direction;
    Quaternion<float> orientation;
    Quaternion<float> pitchQuat;
    Quaternion<float> headingQuat;
    Vector<float, 3> position;
    Matrix<float, 4, 4, 16> rawMatrix;
};
