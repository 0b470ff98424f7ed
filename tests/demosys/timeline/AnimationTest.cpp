#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationCameraController.h"
#include "demosys/timeline/AnimationObjectController.h"
#include "demosys/timeline/Keyframe.h"

#include "tests/support/GLTestContext.h"
#include "tests/support/StdoutCapture.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

using Vec3 = Vector<float, 3>;

// Keyframes at the given x, with y = x / 10, pitch = x and heading = -x.
std::unique_ptr<Animation> alongX(const std::vector<float>& xs, int type)
{
    std::unique_ptr<Animation> animation(new Animation());
    for (float x : xs)
        animation->addKeyframe(new Keyframe(Vec3(x, x / 10.0f, 0.0f), x, -x));
    animation->setInterpolationType(type);
    return animation;
}

void expectPose(const Animation& animation, float x, float y, float z, float pitch, float heading)
{
    EXPECT_FLOAT_EQ(animation.getPosition().x(), x);
    EXPECT_FLOAT_EQ(animation.getPosition().y(), y);
    EXPECT_FLOAT_EQ(animation.getPosition().z(), z);
    EXPECT_FLOAT_EQ(animation.getPitch(), pitch);
    EXPECT_FLOAT_EQ(animation.getHeading(), heading);
}

std::string nextPrints(Animation& animation, double progress)
{
    StdoutCapture capture;
    animation.next(progress);
    return capture.take();
}

} // namespace

TEST(AnimationLinear, SamplePointsAndProgressZero)
{
    auto animation = alongX({ 0, 10, 20 }, Animation::LINEAR);
    expectPose(*animation, 0, 0, 0, 0, 0);

    EXPECT_EQ(nextPrints(*animation, 0.25), "");
    expectPose(*animation, 5, 0.5f, 0, 5, -5);
    EXPECT_EQ(nextPrints(*animation, 0.5), "");
    expectPose(*animation, 10, 1, 0, 10, -10);
    EXPECT_EQ(nextPrints(*animation, 0.875), "");
    expectPose(*animation, 17.5f, 1.75f, 0, 17.5f, -17.5f);
    EXPECT_EQ(nextPrints(*animation, 0.0), "");
    expectPose(*animation, 0, 0, 0, 0, 0);
}

TEST(AnimationLinear, ProgressOneAndBeyondKeepThePreviousPose)
{
    auto animation = alongX({ 0, 10, 20 }, Animation::LINEAR);
    animation->next(0.25);
    EXPECT_EQ(nextPrints(*animation, 1.0), "OUT OF RANGE 2\n");
    expectPose(*animation, 5, 0.5f, 0, 5, -5);
    EXPECT_EQ(nextPrints(*animation, 2.0), "OUT OF RANGE 4\n");
    // Below 0 there is no keyframe before the first one to read.
    EXPECT_EQ(nextPrints(*animation, -0.25), "OUT OF RANGE -1\n");
    EXPECT_EQ(nextPrints(*animation, std::numeric_limits<double>::quiet_NaN()), "OUT OF RANGE nan\n");
    EXPECT_EQ(nextPrints(*animation, 1e30), "OUT OF RANGE 2e+30\n");
    expectPose(*animation, 5, 0.5f, 0, 5, -5);
}

TEST(AnimationLinear, TooFewKeyframesEvaluateNothing)
{
    auto empty = alongX({}, Animation::LINEAR);
    EXPECT_EQ(nextPrints(*empty, 0.5), "OUT OF RANGE -1\n");
    auto single = alongX({ 7 }, Animation::LINEAR);
    EXPECT_EQ(nextPrints(*single, 0.0), "OUT OF RANGE 0\n");
    expectPose(*single, 0, 0, 0, 0, 0);
}

TEST(AnimationCatmull, PassesThroughTheInnerKeyframes)
{
    auto animation = alongX({ 0, 10, 20, 30, 40 }, Animation::CATMULL_ROM);
    EXPECT_EQ(nextPrints(*animation, 0.0), "");
    expectPose(*animation, 10, 1, 0, 10, -10);
    EXPECT_EQ(nextPrints(*animation, 0.5), "");
    expectPose(*animation, 20, 2, 0, 20, -20);
    // Evenly spaced keyframes on a line: the spline is that line.
    animation->next(0.25);
    expectPose(*animation, 15, 1.5f, 0, 15, -15);
    animation->next(0.999);
    EXPECT_NEAR(animation->getPosition().x(), 29.98f, 1e-3f);
}

TEST(AnimationCatmull, CurvesThroughAPeak)
{
    std::unique_ptr<Animation> animation(new Animation());
    const float heights[] = { 0, 0, 10, 0, 0 };
    for (float y : heights)
        animation->addKeyframe(new Keyframe(Vec3(0, y, 0), 0, 0));
    animation->setInterpolationType(Animation::CATMULL_ROM);
    // Halfway from keyframe 1 to the peak: 0.5 * (1.125 * 10), beyond the chord's 5.
    animation->next(0.25);
    EXPECT_FLOAT_EQ(animation->getPosition().y(), 5.625f);
    animation->next(0.75);
    EXPECT_FLOAT_EQ(animation->getPosition().y(), 5.625f);
}

TEST(AnimationCatmull, OutOfRangeKeepsThePose)
{
    auto animation = alongX({ 0, 10, 20, 30, 40 }, Animation::CATMULL_ROM);
    animation->next(0.5);
    EXPECT_EQ(nextPrints(*animation, 1.0), "OUT OF RANGE [1] -> 2\n");
    EXPECT_EQ(nextPrints(*animation, -0.1), "OUT OF RANGE [1] -> -1\n");
    expectPose(*animation, 20, 2, 0, 20, -20);

    // Three keyframes leave no segment between keyframe 1 and keyframe n-2.
    auto shortPath = alongX({ 0, 10, 20 }, Animation::CATMULL_ROM);
    EXPECT_EQ(nextPrints(*shortPath, 0.0), "OUT OF RANGE [-1] -> 0\n");
    auto empty = alongX({}, Animation::CATMULL_ROM);
    EXPECT_EQ(nextPrints(*empty, 0.5), "OUT OF RANGE [-4] -> -2\n");
}

TEST(AnimationCatmull, UnknownTypeEvaluatesNothing)
{
    auto animation = alongX({ 0, 10, 20, 30 }, 2);
    EXPECT_EQ(nextPrints(*animation, 0.5), "");
    expectPose(*animation, 0, 0, 0, 0, 0);
}

TEST(AnimationText, DumpAndPrint)
{
    auto animation = alongX({ 1, 2.5f }, Animation::LINEAR);
    EXPECT_EQ(animation->toString(), "Animation { keyframes = 2 }\n");
    EXPECT_EQ(Animation().toString(), "Animation { keyframes = 0 }\n");

    StdoutCapture capture;
    animation->print();
    EXPECT_EQ(capture.take(), "MRVANI1\nkeyframes 2\npos 1 0.1 0\nrot 1 -1\npos 2.5 0.25 0\nrot 2.5 -2.5\n");
    Keyframe defaults;
    EXPECT_EQ(defaults.getPosition(), Vec3(0, 0, 0));
    EXPECT_EQ(defaults.getPitch(), 0.0f);
    EXPECT_EQ(defaults.getHeading(), 0.0f);
}

TEST(AnimationText, ControllersAreBoundToTheirAnimation)
{
    Animation animation;
    std::unique_ptr<AnimationCameraController> camera(animation.getCameraController());
    std::unique_ptr<AnimationObjectController> object(animation.getObjectController());
    EXPECT_EQ(camera->getAnimation(), &animation);
    EXPECT_EQ(object->getAnimation(), &animation);
    // Each call hands out a controller of its own.
    std::unique_ptr<AnimationCameraController> second(animation.getCameraController());
    EXPECT_NE(second.get(), camera.get());
    EXPECT_EQ(second->getAnimation(), &animation);
}

TEST(AnimationDebugDraw, DrawsWithoutGLErrorsOrPoseChange)
{
    auto animation = alongX({ 0, 10, 20, 30, 40 }, Animation::CATMULL_ROM);
    animation->next(0.25);
    GLTestContext::takeGLError();
    animation->draw();
    animation->drawCatmul();
    alongX({ 0, 1 }, Animation::CATMULL_ROM)->drawCatmul();
    EXPECT_EQ(GLTestContext::takeGLError(), 0u);
    expectPose(*animation, 15, 1.5f, 0, 15, -15);
}
