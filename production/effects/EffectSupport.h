#pragma once

#include <string>

class ParameterGroup;
class TrackInterpolate;

// GL set-ups and the screen quad that the image effects share.
class EffectSupport
{
public:
    // One GL_QUADS covering clip space, texture (0,0) at the bottom left;
    // the caller loads the identity matrices.
    static void fullScreenQuad();
    // Vertex colours drive ambient and diffuse of both faces.
    static void colourMaterial();
    static void white();
    // The track's value at time; a track the group never got reads 0, as an
    // empty one does.
    static float value(const TrackInterpolate* track, unsigned int time);
    // A parameter of the effect's group, "" without a group or key.
    static std::string parameter(const ParameterGroup* group, const std::string& key);
    // The script object's name, "" without a group.
    static std::string objectName(const ParameterGroup* group);
};
