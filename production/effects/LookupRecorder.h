#pragma once

#include "demosys/runtime/FixedResource.h"

#include <string>
#include <vector>

// The names the effects ask their pools for while ResourceLookup records into
// it: which effect object asked, for what kind of resource, under which
// name. Only checks install one; a show runs without.
class LookupRecorder
{
public:
    struct Lookup
    {
        std::string object;
        FixedResource::Kind kind;
        std::string name;
    };

    void add(const std::string& object, FixedResource::Kind kind, const std::string& name);
    // Those the effect object of that name asked for, in the order asked.
    std::vector<Lookup> askedBy(const std::string& object) const;

private:
    std::vector<Lookup> lookups;
};
