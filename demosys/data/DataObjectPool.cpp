#include "demosys/data/DataObjectPool.h"

#include "demosys/scene/MRVScene.h"

#include <iostream>

DataObjectPool::~DataObjectPool()
{
    std::cout << "[Dispose objectPool]" << std::endl;
    scenes.clear(" -> delete ");
}

void DataObjectPool::addObject(const std::string& name, MRVScene* scene)
{
    ++count;
    scenes.put(name, scene);
}

MRVScene* DataObjectPool::getObject(const std::string& name) const
{
    return scenes.get(name);
}

MRVScene* DataObjectPool::getObject(int index) const
{
    const auto* entry = scenes.at(index);
    return entry ? entry->second : nullptr;
}

bool DataObjectPool::exists(const std::string& name) const
{
    return scenes.has(name);
}

void DataObjectPool::mapTextureData()
{
    for (auto& entry : scenes.items())
        if (entry.second)
            entry.second->mapTextureData();
}

std::string DataObjectPool::toString()
{
    return "DataObjectPool {\n}\n";
}
