// The objects block: the scene loader's stage, between framebuffers and graphics.
#include "demosys/script/ResourceLoader.h"

#include "demosys/runtime/MRVDemosys.h"
#include "demosys/scene/MRVSceneLoader.h"
#include "demosys/script/ParameterGroup.h"

#include <iostream>

bool ResourceLoader::loadObjects()
{
    std::cout << "[Loading 3D Objects]" << std::endl;
    const ParameterGroup* objects = group("objects");
    if (!objects || objects->size() == 0)
    {
        std::cout << "No objects" << std::endl;
        return true;
    }
    std::string error;
    if (!MRVSceneLoader::loadObjectsStage(*objects, path("object"), *MRVDemosys::objectPool, error,
                                          [this] { tick(); }))
        return fail(error);
    return true;
}
