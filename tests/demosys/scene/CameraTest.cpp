#include "demosys/scene/Camera.h"

#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using Vec3 = Vector<float, 3>;

// Every test starts and ends with identity matrices in model-view mode.
class CameraGL : public ::testing::Test
{
protected:
    void SetUp() override { clean(); }
    void TearDown() override { clean(); }

    static void clean()
    {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static void readModelview(float* m) { glGetFloatv(GL_MODELVIEW_MATRIX, m); }

    // What the GL's own rotations make of the same pose: pitch about x
    // applied after heading about y, then the move to the camera.
    static void referenceModelview(float pitch, float heading, const Vec3& position, float* m)
    {
        glPushMatrix();
        glLoadIdentity();
        glRotatef(pitch, 1, 0, 0);
        glRotatef(heading, 0, 1, 0);
        glTranslatef(-position.x(), -position.y(), -position.z());
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        glPopMatrix();
    }

    static void expectMatrixNear(const float* actual, const float* expected)
    {
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "element " << i;
    }
};

} // namespace

TEST_F(CameraGL, HeadingQuarterTurnRotatesThenTranslates)
{
    Camera camera;
    camera.setPosition(Vec3(1, 2, 3));
    camera.setPitch(0).setHeading(90);
    camera.setGLMatrixes();

    float m[16];
    readModelview(m);
    // A quarter turn about y, column-major, then the translation by -(1,2,3)
    // seen through it: x' = -z, z' = x.
    const float expected[16] = { 0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, -3, -2, 1, 1 };
    expectMatrixNear(m, expected);

    EXPECT_NEAR(camera.getDirection().x(), 1.0f, 1e-6f);
    EXPECT_NEAR(camera.getDirection().y(), 0.0f, 1e-6f);
    EXPECT_NEAR(camera.getDirection().z(), 0.0f, 1e-6f);
    EXPECT_EQ(camera.getPosition(), Vec3(1, 2, 3));
}

TEST_F(CameraGL, PitchAndHeadingMatchTheGLRotations)
{
    const float poses[][5] = { { 30, 45, 1, -2, 5 }, { -80, 200, 0, 0, 0 }, { 90, -90, 3, 3, 3 }, { 0, 0, 4, 5, 6 } };
    for (const auto& pose : poses)
    {
        Camera camera;
        const Vec3 position(pose[2], pose[3], pose[4]);
        camera.setPosition(position);
        camera.setPitch(pose[0]).setHeading(pose[1]);
        glLoadIdentity();
        camera.setGLMatrixes();
        float actual[16];
        float expected[16];
        readModelview(actual);
        referenceModelview(pose[0], pose[1], position, expected);
        SCOPED_TRACE(::testing::Message() << "pitch " << pose[0] << ", heading " << pose[1]);
        expectMatrixNear(actual, expected);
    }
}

TEST_F(CameraGL, MultipliesOntoTheCurrentModelviewFromAnyMode)
{
    glTranslatef(0, 0, -10);
    glMatrixMode(GL_PROJECTION);
    Camera camera;
    camera.setPosition(Vec3(1, 0, 0));
    camera.setGLMatrixes();

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    float m[16];
    readModelview(m);
    EXPECT_FLOAT_EQ(m[12], -1.0f);
    EXPECT_FLOAT_EQ(m[14], -10.0f);
    float projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(projection[12], 0.0f);
    EXPECT_EQ(projection[0], 1.0f);
}

TEST_F(CameraGL, DirectionAndOrientationComeFromHeadingThenPitch)
{
    Camera camera;
    camera.setPitch(30).setHeading(60);
    camera.setGLMatrixes();
    const float p = 30 * 3.1415927f / 180;
    const float h = 60 * 3.1415927f / 180;
    // Height from the pitch alone; ground components from heading then pitch.
    EXPECT_NEAR(camera.getDirection().y(), -std::sin(p), 1e-6f);
    EXPECT_NEAR(camera.getDirection().x(), std::sin(h) * std::cos(p), 1e-6f);
    EXPECT_NEAR(camera.getDirection().z(), -std::cos(h) * std::cos(p), 1e-6f);

    Quaternion<float> pitchQuat;
    Quaternion<float> headingQuat;
    pitchQuat.axisAngleRotation(Vec3(1, 0, 0), p);
    headingQuat.axisAngleRotation(Vec3(0, 1, 0), h);
    const Quaternion<float> expected = headingQuat * pitchQuat;
    EXPECT_FLOAT_EQ(camera.getQuat().w, expected.w);
    EXPECT_FLOAT_EQ(camera.getQuat().x, expected.x);
    EXPECT_FLOAT_EQ(camera.getQuat().y, expected.y);
    EXPECT_FLOAT_EQ(camera.getQuat().z, expected.z);
    float raw[16];
    expected.fillGLMatrix(raw);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(camera.getRawMatrix()[i], raw[i]) << "element " << i;
}

TEST_F(CameraGL, VelocityMovesAlongTheDirectionBeforeTranslating)
{
    Camera camera;
    camera.setPosition(Vec3(1, 2, 3));
    camera.setHeading(90);
    camera.changeVelocity(2);
    camera.setGLMatrixes();
    EXPECT_NEAR(camera.getPosition().x(), 3.0f, 1e-5f);
    EXPECT_NEAR(camera.getPosition().y(), 2.0f, 1e-5f);
    EXPECT_NEAR(camera.getPosition().z(), 3.0f, 1e-5f);
    float m[16];
    readModelview(m);
    float expected[16];
    referenceModelview(0, 90, Vec3(3, 2, 3), expected);
    expectMatrixNear(m, expected);

    camera.setGLMatrixes();
    EXPECT_NEAR(camera.getPosition().x(), 5.0f, 1e-5f);
}

TEST(Camera, StepLimits)
{
    Camera camera;
    camera.changePitch(-10);
    EXPECT_EQ(camera.getPitch(), -5.0f);
    camera.changePitch(10);
    EXPECT_EQ(camera.getPitch(), 0.0f);
    camera.changePitch(3);
    EXPECT_EQ(camera.getPitch(), 3.0f);
    // A step of exactly the limit is cut to it, keeping its side.
    camera.changePitch(-5);
    EXPECT_EQ(camera.getPitch(), -2.0f);

    camera.changeHeading(-10);
    EXPECT_EQ(camera.getHeading(), 5.0f);
    camera.changeHeading(-5);
    EXPECT_EQ(camera.getHeading(), 0.0f);
    camera.changeHeading(4.5f);
    EXPECT_EQ(camera.getHeading(), 4.5f);

    camera.changeVelocity(-150);
    EXPECT_EQ(camera.getVelocity(), 100.0f);
    camera.changeVelocity(-99);
    EXPECT_EQ(camera.getVelocity(), 1.0f);
    camera.changeVelocity(100);
    EXPECT_EQ(camera.getVelocity(), 101.0f);
}

TEST(Camera, ResetAndInfo)
{
    Camera camera;
    camera.setPosition(Vec3(1, 0.5f, -2));
    camera.setPitch(12.5f).setHeading(-90);
    camera.changeVelocity(3);
    {
        StdoutCapture capture;
        camera.printInfo();
        EXPECT_EQ(capture.take(), "Camera : [1,0.5,-2], pitch = 12.5, heading = -90\n");
    }
    camera.reset();
    EXPECT_EQ(camera.getPosition(), Vec3(0, 0, 0));
    EXPECT_EQ(camera.getPitch(), 0.0f);
    EXPECT_EQ(camera.getHeading(), 0.0f);
    EXPECT_EQ(camera.getVelocity(), 0.0f);
}
