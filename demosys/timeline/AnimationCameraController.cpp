#include "demosys/timeline/AnimationCameraController.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/Camera.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/CameraTakeover.h"

#include <GL/glew.h>

AnimationCameraController::AnimationCameraController(Animation* a) : animation(a)
{
}

void AnimationCameraController::setStartTime(unsigned int ms)
{
    startTime.reset();
    startTime.setMilliseconds(static_cast<int>(ms));
}

void AnimationCameraController::setEndTime(unsigned int ms)
{
    endTime.reset();
    endTime.setMilliseconds(static_cast<int>(ms));
}

void AnimationCameraController::animate(unsigned int time)
{
    const unsigned int start = startTime.getTicks();
    const unsigned int end = endTime.getTicks();
    if (!animation || time < start || time > end)
        return;
    // A window without length holds only its first instant: the path's start
    // rather than the 0/0 of the division.
    const float progress =
        end == start ? 0.0f : static_cast<float>(time - start) / static_cast<float>(end - start);
    poseCamera(progress);
}

void AnimationCameraController::animate(float progress)
{
    if (!animation)
        return;
    // Written so that a NaN progress (a broken track value) lands on 0 too.
    if (!(progress >= 0.0f))
        progress = 0.0f;
    else if (progress > 1.0f)
        progress = 1.0f;
    poseCamera(progress);
}

void AnimationCameraController::poseCamera(double progress)
{
    animation->next(progress);
    CameraTakeover& takeover = MRVDemosys::cameraTakeover;
    takeover.path = animation;
    takeover.progress = progress;
    takeover.frame = MRVDemosys::frames;
    Camera& camera = MRVDemosys::camera;
    camera.setPosition(takeover.flying ? takeover.position : animation->getPosition());
    camera.setPitch(takeover.flying ? takeover.pitch : animation->getPitch());
    camera.setHeading(takeover.flying ? takeover.heading : animation->getHeading());
    camera.setGLMatrixes();
    if (takeover.keepMatrices)
    {
        glGetFloatv(GL_MODELVIEW_MATRIX, takeover.modelView);
        glGetFloatv(GL_PROJECTION_MATRIX, takeover.projection);
    }
}
