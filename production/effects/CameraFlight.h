#pragma once

#include <memory>
#include <string>

class AnimationCameraController;
class Effect;
class ResourceLookup;
class TrackInterpolate;

// The camera of the scene effects: two keyframe paths flown by the shared
// camera, chosen by the track "anim.index" (at most 1 the first path, above
// 1 the second) and advanced along by "anim.pos" and "anim2.pos".
class CameraFlight
{
public:
    CameraFlight();
    ~CameraFlight();

    // Declares "anim.pos", "anim2.pos" and "anim.index", in that order.
    static void registerTracks(Effect& effect);
    // What one of those tracks does, for an author; null for other names.
    static const char* trackMeaning(const std::string& track);
    // Finds both paths (set to Catmull-Rom), makes their controllers and
    // fetches the three tracks of the effect.
    void init(Effect& effect, ResourceLookup& lookup, const std::string& first, const std::string& second);

    // Moves the camera and multiplies its transform onto the model-view.
    void fly(unsigned int time);
    // 1 or 2: the path flown by the last fly(); 0 when none was (before the
    // first, or for an index that compares with neither, such as NaN).
    int getLastPath() const { return lastPath; }

private:
    std::unique_ptr<AnimationCameraController> firstPath;
    std::unique_ptr<AnimationCameraController> secondPath;
    TrackInterpolate* position = nullptr;
    TrackInterpolate* position2 = nullptr;
    TrackInterpolate* index = nullptr;
    int lastPath = 0;
};
