#include "demosys/data/DataBinaryPool.h"

#include "demosys/data/Binary.h"
#include "mrvutils/MRVUtils.h"

#include <iostream>

DataBinaryPool::~DataBinaryPool()
{
    std::cout << "[Dispose binaryPool]" << std::endl;
    blobs.clear(" -> delete ");
}

void DataBinaryPool::addData(const std::string& name, Binary* blob)
{
    ++count;
    blobs.put(name, blob);
}

Binary* DataBinaryPool::getData(const std::string& name) const
{
    return blobs.get(name);
}

Binary* DataBinaryPool::getData(int index) const
{
    const auto* entry = blobs.at(index);
    return entry ? entry->second : nullptr;
}

bool DataBinaryPool::exist(const std::string& name) const
{
    return blobs.has(name);
}

std::string DataBinaryPool::toString()
{
    std::string text = "DataBinaryPool {\n    num3dObjects = " + MRVUtils::int2string(size()) + "\n";
    for (const auto& entry : blobs.items())
        text += "    " + entry.first + " = " + (entry.second ? entry.second->toString() : "null\n");
    return text + "}\n";
}
