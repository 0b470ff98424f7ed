#include "production/effects/LookupRecorder.h"

void LookupRecorder::add(const std::string& object, FixedResource::Kind kind, const std::string& name)
{
    lookups.push_back({ object, kind, name });
}

std::vector<LookupRecorder::Lookup> LookupRecorder::askedBy(const std::string& object) const
{
    std::vector<Lookup> found;
    for (const Lookup& lookup : lookups)
        if (lookup.object == object)
            found.push_back(lookup);
    return found;
}
