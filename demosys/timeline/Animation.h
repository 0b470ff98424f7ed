#pragma once

#include "demosys/math/Vector.h"

#include <string>
#include <vector>

class AnimationCameraController;
class AnimationObjectController;
class Keyframe;

// A camera path: keyframes in file order, evaluated at a progress from 0 to 1
// either piecewise linearly or along a Catmull-Rom spline. The result of the
// last evaluation stays in the animation until the next one replaces it.
class Animation
{
public:
    enum InterpolationType { LINEAR = 0, CATMULL_ROM = 1 };

    Animation() = default;
    ~Animation();

    Animation(const Animation&) = delete;
    Animation& operator=(const Animation&) = delete;

    // Takes ownership; a null keyframe is ignored.
    void addKeyframe(Keyframe* keyframe);
    // Null outside 0..count-1.
    Keyframe* getKeyFrame(int index) const;
    int countKeyFrames() const { return static_cast<int>(keyframes.size()); }

    // Takes the other animation's keyframes, giving it this one's: the
    // controllers bound to this animation fly the new path from their next
    // evaluation on.
    void replaceKeyframes(Animation& other) { keyframes.swap(other.keyframes); }

    // 0 linear, 1 Catmull-Rom; any other type makes next() do nothing.
    void setInterpolationType(int type) { interpolationType = type; }
    int getInterpolationType() const { return interpolationType; }

    // Evaluates the path at progress. Progress 1.0 lies past the last segment
    // of both types: out-of-range progress prints a line and keeps the
    // previous pose. A Catmull-Rom path runs from keyframe 1 to keyframe n-2.
    void next(double progress);

    void interpolateLinear(const Keyframe* a, const Keyframe* b, float t);
    void interpolateCatmull(const Keyframe* p0, const Keyframe* p1, const Keyframe* p2, const Keyframe* p3,
                            float t);

    const Vector<float, 3>& getPosition() const { return position; }
    float getPitch() const { return pitch; }
    float getHeading() const { return heading; }

    // New controllers bound to this animation; the caller owns them.
    AnimationObjectController* getObjectController();
    AnimationCameraController* getCameraController();

    // Debug drawing of the path in the current GL state: the keyframe
    // polyline, and the spline the Catmull-Rom evaluation follows. Neither
    // changes the pose.
    void draw() const;
    void drawCatmul() const;

    // "Animation { keyframes = N }\n"
    std::string toString() const;
    // The animation in its file format on standard output.
    void print() const;

private:
    std::vector<Keyframe*> keyframes;
    Vector<float, 3> position;
    float pitch = 0.0f;
    float heading = 0.0f;
    int interpolationType = LINEAR;
};
