// The binary and animation blocks, both read from paths misc.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/Binary.h"
#include "demosys/data/DataAnimationPool.h"
#include "demosys/data/DataBinaryPool.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"

#include <iostream>

bool ResourceLoader::loadBinaries()
{
    const ParameterGroup* binary = stageBlock("[Loading Binary Data]", "binary", "No binary data");
    if (!binary)
        return true;
    const std::string miscPath = path("misc");
    for (const auto& entry : binary->getEntries())
    {
        std::cout << "Loading binary : '" << miscPath << entry.second << "'" << std::endl;
        Binary* blob = MRVDemosys::loadBinary(miscPath + entry.second);
        if (!blob)
            return fail("Failed to binary data!\nFile : '" + miscPath + entry.second + "'");
        MRVDemosys::binaryPool->addData(entry.first, blob);
    }
    return true;
}

// One entry's work is DataAnimationPool::loadAnimation, which a reload can
// call as it stands.
bool ResourceLoader::loadAnimations()
{
    const ParameterGroup* animation = stageBlock("[Loading Animation Data]", "animation", "No animation data");
    if (!animation)
        return true;
    const std::string miscPath = path("misc");
    for (const auto& entry : animation->getEntries())
    {
        std::string message;
        if (!MRVDemosys::animationPool->loadAnimation(entry.first, miscPath + entry.second, message))
            return fail(message);
        tick();
    }
    return true;
}
