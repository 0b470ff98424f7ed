#include "demosys/data/Data.h"

#include "demosys/data/DataPool.h"

Data::~Data()
{
    for (auto& entry : pools)
        delete entry.second;
    pools.clear();
}

void Data::addData(const std::string& name, DataPool* pool)
{
    pools[name] = pool;
}

bool Data::exist(const std::string& name) const
{
    return pools.find(name) != pools.end();
}

DataPool* Data::getData(const std::string& name) const
{
    const auto it = pools.find(name);
    return it == pools.end() ? nullptr : it->second;
}

std::string Data::toString() const
{
    std::string text;
    for (const auto& entry : pools)
        if (entry.second)
            text += entry.second->toString();
    return text;
}
