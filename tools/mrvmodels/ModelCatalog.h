#pragma once

#include "demosys/scene/MRVObjectFile.h"

#include <string>
#include <vector>

// The models mrvmodels makes, by the names its command line takes.
class ModelCatalog
{
public:
    struct Entry
    {
        const char* name;
        const char* description;
        MRVObjectFile (*build)();
    };

    static const std::vector<Entry>& entries();
    // Null for a name the catalogue does not hold.
    static const Entry* find(const std::string& name);
    // The file name "all" gives a model: its name and ".o3d".
    static std::string fileName(const Entry& entry);
};
