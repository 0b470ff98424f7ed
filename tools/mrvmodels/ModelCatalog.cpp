#include "tools/mrvmodels/ModelCatalog.h"

#include "tools/mrvmodels/CubeModel.h"
#include "tools/mrvmodels/GhettoblasterModel.h"
#include "tools/mrvmodels/LightRaysModel.h"
#include "tools/mrvmodels/MirrorBallModel.h"
#include "tools/mrvmodels/TvSetModel.h"

const std::vector<ModelCatalog::Entry>& ModelCatalog::entries()
{
    static const std::vector<Entry> all = {
        { "ghettoblaster", "the stereo of the ghettoblaster scene (7 objects)", &GhettoblasterModel::build },
        { "tvset", "a tube television, front towards -x, no colours", &TvSetModel::build },
        { "cube", "a unit cube with every face mapped, no colour", &CubeModel::build },
        { "discoball", "a mirror ball of radius 3", &MirrorBallModel::build },
        { "discorays", "41 light beams with their spots (Tube.044 ... Circle.085)", &LightRaysModel::build },
    };
    return all;
}

const ModelCatalog::Entry* ModelCatalog::find(const std::string& name)
{
    for (const Entry& entry : entries())
        if (name == entry.name)
            return &entry;
    return nullptr;
}

std::string ModelCatalog::fileName(const Entry& entry)
{
    return std::string(entry.name) + ".o3d";
}
