#pragma once

#include <string>

class Animation;
class MRVObject;
class MRVScene;
class ResourceLookup;

// The scene effects' lookups in the object and animation pools and inside a
// scene, reported through the effect's ResourceLookup like its other
// resources: a missing name is named once and leaves the lookup incomplete.
class SceneLookup
{
public:
    static MRVScene* scene(ResourceLookup& lookup, const std::string& name);
    static Animation* animation(ResourceLookup& lookup, const std::string& name);
    // The object of that name in the scene's tree; a null scene (already
    // reported) gives null without a further report.
    static MRVObject* object(ResourceLookup& lookup, const MRVScene* scene, const std::string& name);
};
