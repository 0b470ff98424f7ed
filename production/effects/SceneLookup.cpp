#include "production/effects/SceneLookup.h"

#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataObjectPool.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVScene.h"
#include "production/effects/ResourceLookup.h"

MRVScene* SceneLookup::scene(ResourceLookup& lookup, const std::string& name)
{
    DataObjectPool* pool = MRVDemosys::objectPool;
    MRVScene* found = pool && pool->exists(name) ? pool->getObject(name) : nullptr;
    if (!found)
        lookup.reject("object", name, "not found");
    return found;
}

Animation* SceneLookup::animation(ResourceLookup& lookup, const std::string& name)
{
    DataAnimationPool* pool = MRVDemosys::animationPool;
    Animation* found = pool && pool->exist(name) ? pool->getAnimation(name) : nullptr;
    if (!found)
        lookup.reject("animation", name, "not found");
    return found;
}

MRVObject* SceneLookup::object(ResourceLookup& lookup, const MRVScene* scene, const std::string& name)
{
    if (!scene)
        return nullptr;
    MRVObject* found = scene->getObjectByName(name);
    if (!found)
        lookup.reject("scene object", name, "not found");
    return found;
}
