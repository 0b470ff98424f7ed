#include "demosys/timeline/AnimationObjectController.h"

AnimationObjectController::AnimationObjectController(Animation* a) : animation(a)
{
}
