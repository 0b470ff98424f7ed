// Effect objects: one instance per effect block, made from its class's template.
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"

#include <iostream>

bool ResourceLoader::createEffectObjects()
{
    std::cout << "[Create effect objects]" << std::endl;
    if (MRVDemosys::effects)
    {
        for (const auto& entry : MRVDemosys::effects->getGroups())
        {
            ParameterGroup* objectGroup = entry.second;
            const std::string className = objectGroup->getParameter("class");
            std::cout << "Creating instance of " << className << std::endl;
            // The parser accepts only registered classes, so a template exists.
            Effect* prototype = MRVDemosys::effectTemplatePool->exist(className)
                                    ? MRVDemosys::effectTemplatePool->getEffect(className)
                                    : nullptr;
            if (!prototype)
                continue;
            Effect* instance = prototype->getInstance();
            instance->setParameters(objectGroup);
            instance->registerTracks();
            MRVDemosys::effectPool->addEffect(entry.first, instance);
        }
    }
    tick();
    return true;
}
