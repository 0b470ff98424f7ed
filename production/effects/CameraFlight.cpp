#include "production/effects/CameraFlight.h"

#include "demosys/runtime/Effect.h"
#include "demosys/timeline/Animation.h"
#include "demosys/timeline/AnimationCameraController.h"
#include "production/effects/SceneLookup.h"
#include "production/effects/TrackValue.h"

CameraFlight::CameraFlight() = default;

CameraFlight::~CameraFlight() = default;

void CameraFlight::registerTracks(Effect& effect)
{
    effect.addTrackName("anim.pos");
    effect.addTrackName("anim2.pos");
    effect.addTrackName("anim.index");
}

const char* CameraFlight::trackMeaning(const std::string& track)
{
    if (track == "anim.pos")
        return "how far along the first camera path, 0 at its first keyframe to 1 at its last";
    if (track == "anim2.pos")
        return "how far along the second camera path, 0 to 1";
    if (track == "anim.index")
        return "which path the camera flies: at most 1 the first, above 1 the second";
    return nullptr;
}

void CameraFlight::init(Effect& effect, ResourceLookup& lookup, const std::string& first, const std::string& second)
{
    Animation* paths[2] = { SceneLookup::animation(lookup, first), SceneLookup::animation(lookup, second) };
    firstPath.reset();
    secondPath.reset();
    if (paths[0])
    {
        paths[0]->setInterpolationType(Animation::CATMULL_ROM);
        firstPath.reset(paths[0]->getCameraController());
    }
    if (paths[1])
    {
        paths[1]->setInterpolationType(Animation::CATMULL_ROM);
        secondPath.reset(paths[1]->getCameraController());
    }
    position = effect.getTrack("anim.pos");
    position2 = effect.getTrack("anim2.pos");
    index = effect.getTrack("anim.index");
    lastPath = 0;
}

void CameraFlight::fly(unsigned int time)
{
    const float path = TrackValue::at(index, time);
    lastPath = 0;
    if (path <= 1.0f && firstPath)
    {
        firstPath->animate(TrackValue::at(position, time));
        lastPath = 1;
    }
    if (path > 1.0f && secondPath)
    {
        secondPath->animate(TrackValue::at(position2, time));
        lastPath = 2;
    }
}
