#include "demosys/data/DataPool.h"

#include "mrvutils/MRVUtils.h"

DataPool::~DataPool() = default;

int DataPool::size()
{
    return count;
}

std::string DataPool::toString()
{
    return "DataPool { size = " + MRVUtils::int2string(count) + " }\n";
}
