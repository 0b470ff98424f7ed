#include "demosys/timeline/Animation.h"

#include "demosys/timeline/AnimationCameraController.h"
#include "demosys/timeline/AnimationObjectController.h"
#include "demosys/timeline/Keyframe.h"
#include "mrvutils/MRVUtils.h"

#include <GL/glew.h>

#include <cmath>
#include <iostream>

namespace {

// Points per spline segment in the debug drawing.
const int CURVE_STEPS = 16;

struct Weights
{
    float w0, w1, w2, w3;
};

Weights catmullWeights(float t)
{
    const float t2 = t * t;
    const float t3 = t2 * t;
    return { 2.0f * t2 - t3 - t, 3.0f * t3 - 5.0f * t2 + 2.0f, t + 4.0f * t2 - 3.0f * t3, t3 - t2 };
}

float catmull(const Weights& w, float p0, float p1, float p2, float p3)
{
    return 0.5f * (w.w0 * p0 + w.w1 * p1 + w.w2 * p2 + w.w3 * p3);
}

// The segment index of an out-of-range progress, as the integer it would
// have been; a NaN or an index beyond any integer is shown as the float it is.
void printIndex(double index)
{
    if (std::isfinite(index) && std::fabs(index) < 1e15)
        std::cout << static_cast<long long>(index);
    else
        std::cout << index;
}

} // namespace

Animation::~Animation()
{
    for (Keyframe* keyframe : keyframes)
        delete keyframe;
}

void Animation::addKeyframe(Keyframe* keyframe)
{
    if (keyframe)
        keyframes.push_back(keyframe);
}

Keyframe* Animation::getKeyFrame(int index) const
{
    if (index < 0 || index >= countKeyFrames())
        return nullptr;
    return keyframes[static_cast<size_t>(index)];
}

void Animation::next(double progress)
{
    const int n = countKeyFrames();
    if (interpolationType == LINEAR)
    {
        const float s = static_cast<float>((n - 1) * progress);
        // The index is checked as a double before it becomes an int, so that
        // a negative, huge or NaN progress names no keyframe at all.
        const double segment = std::floor(static_cast<double>(s));
        if (!(segment >= 0.0 && segment < n - 1))
        {
            std::cout << "OUT OF RANGE ";
            printIndex(segment);
            std::cout << std::endl;
            return;
        }
        const size_t i = static_cast<size_t>(segment);
        interpolateLinear(keyframes[i], keyframes[i + 1], std::fmod(s, 1.0f));
    }
    else if (interpolationType == CATMULL_ROM)
    {
        const float s = static_cast<float>((n - 3) * progress);
        const double segment = std::floor(static_cast<double>(s));
        if (!(segment >= 0.0 && segment <= n - 4))
        {
            std::cout << "OUT OF RANGE [" << n - 4 << "] -> ";
            printIndex(segment);
            std::cout << std::endl;
            return;
        }
        const size_t i = static_cast<size_t>(segment);
        interpolateCatmull(keyframes[i], keyframes[i + 1], keyframes[i + 2], keyframes[i + 3], std::fmod(s, 1.0f));
    }
}

void Animation::interpolateLinear(const Keyframe* a, const Keyframe* b, float t)
{
    if (!a || !b)
        return;
    const Vector<float, 3>& pa = a->getPosition();
    const Vector<float, 3>& pb = b->getPosition();
    for (int c = 0; c < 3; ++c)
        position[c] = (1.0f - t) * pa[c] + t * pb[c];
    pitch = a->getPitch() + (b->getPitch() - a->getPitch()) * t;
    heading = a->getHeading() + (b->getHeading() - a->getHeading()) * t;
}

void Animation::interpolateCatmull(const Keyframe* p0, const Keyframe* p1, const Keyframe* p2, const Keyframe* p3,
                                   float t)
{
    if (!p0 || !p1 || !p2 || !p3)
        return;
    const Weights w = catmullWeights(t);
    for (int c = 0; c < 3; ++c)
        position[c] = catmull(w, p0->getPosition()[c], p1->getPosition()[c], p2->getPosition()[c],
                              p3->getPosition()[c]);
    pitch = catmull(w, p0->getPitch(), p1->getPitch(), p2->getPitch(), p3->getPitch());
    heading = catmull(w, p0->getHeading(), p1->getHeading(), p2->getHeading(), p3->getHeading());
}

AnimationObjectController* Animation::getObjectController()
{
    return new AnimationObjectController(this);
}

AnimationCameraController* Animation::getCameraController()
{
    return new AnimationCameraController(this);
}

void Animation::draw() const
{
    glBegin(GL_LINE_STRIP);
    for (const Keyframe* keyframe : keyframes)
        glVertex3fv(keyframe->getPosition().data());
    glEnd();
}

void Animation::drawCatmul() const
{
    const int n = countKeyFrames();
    if (n < 4)
        return;
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i + 3 < n; ++i)
    {
        const Vector<float, 3>* p[4];
        for (int j = 0; j < 4; ++j)
            p[j] = &keyframes[static_cast<size_t>(i + j)]->getPosition();
        for (int step = 0; step < CURVE_STEPS; ++step)
        {
            const Weights w = catmullWeights(static_cast<float>(step) / CURVE_STEPS);
            glVertex3f(catmull(w, p[0]->x(), p[1]->x(), p[2]->x(), p[3]->x()),
                       catmull(w, p[0]->y(), p[1]->y(), p[2]->y(), p[3]->y()),
                       catmull(w, p[0]->z(), p[1]->z(), p[2]->z(), p[3]->z()));
        }
    }
    glVertex3fv(keyframes[static_cast<size_t>(n - 2)]->getPosition().data());
    glEnd();
}

std::string Animation::toString() const
{
    return "Animation { keyframes = " + MRVUtils::int2string(countKeyFrames()) + " }\n";
}

void Animation::print() const
{
    std::cout << "MRVANI1" << std::endl;
    std::cout << "keyframes " << countKeyFrames() << std::endl;
    for (const Keyframe* keyframe : keyframes)
        keyframe->print();
}
