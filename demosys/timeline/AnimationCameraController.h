#pragma once

#include "demosys/runtime/MRVTime.h"

class Animation;

// Flies the shared camera (MRVDemosys::camera) along an animation: every call
// evaluates the animation, poses the camera and multiplies its transform onto
// the current model-view matrix. Each pose is noted in
// MRVDemosys::cameraTakeover, whose fly pose, while it is on, replaces the
// path's.
class AnimationCameraController
{
public:
    AnimationCameraController() = default;
    // The animation is not owned.
    explicit AnimationCameraController(Animation* animation);

    void setAnimation(Animation* a) { animation = a; }
    Animation* getAnimation() const { return animation; }

    // The millisecond forms carry into seconds, as a time read from a script does.
    void setStartTime(unsigned int ms);
    void setEndTime(unsigned int ms);
    void setStartTime(const MRVTime& time) { startTime = time; }
    void setEndTime(const MRVTime& time) { endTime = time; }
    const MRVTime& getStartTime() const { return startTime; }
    const MRVTime& getEndTime() const { return endTime; }

    // Music time in milliseconds, mapped onto the start..end window; outside
    // the window the camera is left alone.
    void animate(unsigned int time);
    // Progress along the path, clamped to 0..1.
    void animate(float progress);

private:
    void poseCamera(double progress);

    Animation* animation = nullptr;
    MRVTime startTime;
    MRVTime endTime;
};
