// Track data: one track group per effect object, then every effect's init().
#include "demosys/script/ResourceLoader.h"

#include "demosys/data/DataEffectPool.h"
#include "demosys/runtime/Effect.h"
#include "demosys/runtime/MRVDemosys.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/timeline/TrackSystem.h"
#include "demosys/timeline/TrackSystemIO.h"
#include "mrvutils/MRVUtils.h"

#include <iostream>
#include <vector>

bool ResourceLoader::createTrackData()
{
    std::cout << "[Create track data]" << std::endl;
    const std::string trackDir = path("tracks");
    const int rate = rowRate();
    if (!trackDir.empty())
        loadTrackSystem(trackDir);
    else
    {
        std::cout << "No track data location specified. Making dummy system." << std::endl;
        MRVDemosys::tracks = new TrackSystem;
    }
    MRVDemosys::tracks->setRowRate(rate);

    for (const auto& entry : MRVDemosys::effectPool->getEffectMap())
        if (entry.second)
            entry.second->init();

    return MRVDemosys::tracks->validateStartStopTracks() && MRVDemosys::tracks->validateInterpolateTracks();
}

int ResourceLoader::rowRate() const
{
    int rate = 20;
    if (const ParameterGroup* system = group("system"))
        if (system->exist("rowrate"))
            rate = MRVUtils::string2Int(system->getParameter("rowrate"));
    // A rate of 0 or less would divide by zero in every row conversion.
    return rate > 0 ? rate : 20;
}

void ResourceLoader::loadTrackSystem(const std::string& trackDir)
{
    std::vector<std::string> names;
    std::vector<Effect*> instances;
    for (const auto& entry : MRVDemosys::effectPool->getEffectMap())
    {
        names.push_back(entry.first);
        instances.push_back(entry.second);
    }
    TrackSystemIO io(trackDir);
    MRVDemosys::tracks = io.load(names, instances);
}
