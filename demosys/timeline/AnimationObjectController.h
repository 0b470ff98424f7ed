#pragma once

#include "demosys/runtime/MRVTime.h"

class Animation;

// Binds an animation and a time window to a scene object. It only keeps them:
// nothing in the engine animates objects from it yet.
class AnimationObjectController
{
public:
    AnimationObjectController() = default;
    // The animation is not owned.
    explicit AnimationObjectController(Animation* animation);

    void setAnimation(Animation* a) { animation = a; }
    Animation* getAnimation() const { return animation; }

    void setStartTime(const MRVTime& time) { startTime = time; }
    void setEndTime(const MRVTime& time) { endTime = time; }
    const MRVTime& getStartTime() const { return startTime; }
    const MRVTime& getEndTime() const { return endTime; }

private:
    Animation* animation = nullptr;
    MRVTime startTime;
    MRVTime endTime;
};
