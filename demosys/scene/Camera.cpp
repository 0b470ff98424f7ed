#include "demosys/scene/Camera.h"

#include <GL/glew.h>

#include <cmath>
#include <iostream>

namespace {

const float PI = 3.1415927f;
const Vector<float, 3> X_AXIS(1.0f, 0.0f, 0.0f);
const Vector<float, 3> Y_AXIS(0.0f, 1.0f, 0.0f);

} // namespace

Camera& Camera::setPitch(float degrees)
{
    pitch = degrees;
    return *this;
}

Camera& Camera::setHeading(float degrees)
{
    heading = degrees;
    return *this;
}

void Camera::reset()
{
    pitch = 0.0f;
    heading = 0.0f;
    velocity = 0.0f;
    position = Vector<float, 3>();
}

void Camera::changePitch(float step)
{
    if (std::fabs(step) < std::fabs(maxPitchStep))
        pitch += step;
    else if (step < 0.0f)
        pitch -= maxPitchStep;
    else
        pitch += maxPitchStep;
}

void Camera::changeHeading(float step)
{
    if (std::fabs(step) <= std::fabs(maxHeadingStep))
        heading += step;
    else
        heading += maxHeadingStep;
}

void Camera::changeVelocity(float step)
{
    if (std::fabs(step) < std::fabs(maxVelocityStep))
        velocity += step;
    else
        velocity += maxVelocityStep;
}

void Camera::setGLMatrixes()
{
    glMatrixMode(GL_MODELVIEW);

    pitchQuat.axisAngleRotation(X_AXIS, pitch * PI / 180.0f);
    headingQuat.axisAngleRotation(Y_AXIS, heading * PI / 180.0f);

    orientation = pitchQuat * headingQuat;
    orientation.fillGLMatrix(rawMatrix.data());
    glMultMatrixf(rawMatrix.data());

    // The view direction: its height from the pitch alone, its ground
    // components from the heading-then-pitch rotation.
    pitchQuat.fillGLMatrix(rawMatrix.data());
    direction.y() = rawMatrix[9];

    orientation = headingQuat * pitchQuat;
    orientation.fillGLMatrix(rawMatrix.data());
    direction.x() = rawMatrix[8];
    direction.z() = -rawMatrix[10];

    position += direction * velocity;

    glTranslatef(-position.x(), -position.y(), -position.z());
}

void Camera::printInfo() const
{
    std::cout << "Camera : " << position << ", pitch = " << pitch << ", heading = " << heading << std::endl;
}
