#include "demosys/data/DataEffectPool.h"

#include <iostream>

DataEffectPool::~DataEffectPool()
{
    std::cout << "[Dispose effectPool]" << std::endl;
}

std::string DataEffectPool::toString()
{
    return "EffectPool {\n}\n";
}
