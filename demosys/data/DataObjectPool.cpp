#include "demosys/data/DataObjectPool.h"

#include <iostream>

DataObjectPool::~DataObjectPool()
{
    std::cout << "[Dispose objectPool]" << std::endl;
}

std::string DataObjectPool::toString()
{
    return "DataObjectPool {\n}\n";
}
