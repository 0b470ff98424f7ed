#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/Camera.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationCameraController.h"
#include "demosys/timeline/Keyframe.h"

#include "tests/support/RegistryGuard.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <limits>

namespace {

using Vec3 = Vector<float, 3>;

// Drives the shared camera from a three-keyframe path along x (no rotation,
// so the model-view matrix is a plain translation to the camera) and keeps
// the GL matrices and the shared camera clean around every test.
class AnimationCameraControllerTest : public ::testing::Test
{
protected:
    // Puts back the registry members the test sets, however it ends.
    testsupport::RegistryGuard registry;

    void SetUp() override
    {
        MRVDemosys::camera = Camera();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        for (float x : { 0.0f, 10.0f, 20.0f })
            path.addKeyframe(new Keyframe(Vec3(x, 1.0f, -x), 0.0f, 0.0f));
        controller.setAnimation(&path);
        controller.setStartTime(1000u);
        controller.setEndTime(3000u);
    }
    void TearDown() override
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // Marks the camera and the matrix so that an untouched state shows.
    void mark()
    {
        MRVDemosys::camera.setPosition(Vec3(7, 7, 7));
        glLoadIdentity();
    }
    void expectUntouched()
    {
        EXPECT_EQ(MRVDemosys::camera.getPosition(), Vec3(7, 7, 7));
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(m[12], 0.0f);
        EXPECT_EQ(m[13], 0.0f);
        EXPECT_EQ(m[14], 0.0f);
    }
    // Camera at x on the path, and the model-view translating by its negation.
    void expectCameraAt(float x)
    {
        EXPECT_FLOAT_EQ(MRVDemosys::camera.getPosition().x(), x);
        EXPECT_FLOAT_EQ(MRVDemosys::camera.getPosition().y(), 1.0f);
        EXPECT_FLOAT_EQ(MRVDemosys::camera.getPosition().z(), -x);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_FLOAT_EQ(m[12], -x);
        EXPECT_FLOAT_EQ(m[13], -1.0f);
        EXPECT_FLOAT_EQ(m[14], x);
    }

    Animation path;
    AnimationCameraController controller;
};

} // namespace

TEST_F(AnimationCameraControllerTest, TimeWindowMapsOntoProgress)
{
    mark();
    controller.animate(2000u);
    expectCameraAt(10.0f);

    mark();
    controller.animate(1500u);
    expectCameraAt(5.0f);

    mark();
    controller.animate(1000u);
    expectCameraAt(0.0f);
}

TEST_F(AnimationCameraControllerTest, OutsideTheWindowTheCameraIsLeftAlone)
{
    mark();
    controller.animate(999u);
    expectUntouched();
    controller.animate(3001u);
    expectUntouched();
    controller.animate(0u);
    expectUntouched();
}

TEST_F(AnimationCameraControllerTest, WindowEndKeepsTheLastPoseAndStillLoadsIt)
{
    controller.animate(2500u);
    mark();
    StdoutCapture capture;
    controller.animate(3000u);
    EXPECT_EQ(capture.take(), "OUT OF RANGE 2\n");
    expectCameraAt(15.0f);
}

TEST_F(AnimationCameraControllerTest, ProgressIsClampedToTheWholePath)
{
    mark();
    controller.animate(-0.5f);
    expectCameraAt(0.0f);

    mark();
    controller.animate(0.75f);
    expectCameraAt(15.0f);

    mark();
    StdoutCapture capture;
    controller.animate(2.0f);
    EXPECT_EQ(capture.take(), "OUT OF RANGE 2\n");
    expectCameraAt(15.0f);

    mark();
    controller.animate(std::numeric_limits<float>::quiet_NaN());
    expectCameraAt(0.0f);
}

TEST_F(AnimationCameraControllerTest, CameraTakesTheAnglesOfThePath)
{
    Animation turning;
    turning.addKeyframe(new Keyframe(Vec3(0, 0, 0), 0.0f, 0.0f));
    turning.addKeyframe(new Keyframe(Vec3(0, 0, 0), 20.0f, 180.0f));
    AnimationCameraController turn(&turning);
    turn.animate(0.5f);
    EXPECT_FLOAT_EQ(MRVDemosys::camera.getPitch(), 10.0f);
    EXPECT_FLOAT_EQ(MRVDemosys::camera.getHeading(), 90.0f);
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    // Turned a quarter about y: the x axis no longer maps onto x.
    EXPECT_NEAR(m[0], 0.0f, 1e-6f);
}

TEST_F(AnimationCameraControllerTest, WithoutAnimationNothingHappens)
{
    AnimationCameraController empty;
    empty.setStartTime(0u);
    empty.setEndTime(5000u);
    mark();
    empty.animate(2000u);
    empty.animate(0.5f);
    expectUntouched();
    EXPECT_EQ(empty.getAnimation(), nullptr);
}

TEST_F(AnimationCameraControllerTest, WindowWithoutLengthShowsThePathStart)
{
    controller.setStartTime(1000u);
    controller.setEndTime(1000u);
    mark();
    controller.animate(1000u);
    expectCameraAt(0.0f);
}

TEST(AnimationControllerTimes, MillisecondsCarryIntoSeconds)
{
    AnimationCameraController controller;
    controller.setStartTime(MRVTime(1, 2, 3));
    controller.setStartTime(2500u);
    EXPECT_EQ(controller.getStartTime().getMinutes(), 0);
    EXPECT_EQ(controller.getStartTime().getSeconds(), 2);
    EXPECT_EQ(controller.getStartTime().getMilliseconds(), 500);
    EXPECT_EQ(controller.getStartTime().getTicks(), 2500u);

    controller.setEndTime(90500u);
    EXPECT_EQ(controller.getEndTime().getSeconds(), 90);
    EXPECT_EQ(controller.getEndTime().getTicks(), 90500u);

    // A time object is copied with its parts as they are.
    controller.setEndTime(MRVTime(0, 0, 1500));
    EXPECT_EQ(controller.getEndTime().getMilliseconds(), 1500);
    EXPECT_EQ(controller.getEndTime().getTicks(), 1500u);
}
