#include "production/effects/SceneLookup.h"

#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVScene.h"
#include "production/effects/ResourceLookup.h"

MRVScene* SceneLookup::scene(ResourceLookup& lookup, const std::string& name)
{
    lookup.record(FixedResource::SCENE, name);
    DataObjectPool* pool = MRVDemosys::objectPool;
    MRVScene* found = pool && pool->exists(name) ? pool->getObject(name) : nullptr;
    if (!found)
        lookup.reject("object", name, "not found");
    return found;
}

Animation* SceneLookup::animation(ResourceLookup& lookup, const std::string& name)
{
    // The production flies every animation it looks up as a camera path.
    lookup.record(FixedResource::CAMERA_PATH, name);
    DataAnimationPool* pool = MRVDemosys::animationPool;
    Animation* found = pool && pool->exist(name) ? pool->getAnimation(name) : nullptr;
    if (!found)
        lookup.reject("animation", name, "not found");
    return found;
}

MRVObject* SceneLookup::object(ResourceLookup& lookup, const MRVScene* scene, const std::string& name)
{
    // Asked for even where the scene is missing: the name is the effect's
    // whether or not this production can answer it.
    lookup.record(FixedResource::SCENE_OBJECT, name);
    if (!scene)
        return nullptr;
    MRVObject* found = scene->getObjectByName(name);
    if (!found)
        lookup.reject("scene object", name, "not found");
    return found;
}
