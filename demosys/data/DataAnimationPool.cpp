#include "demosys/data/DataAnimationPool.h"

#include <iostream>

DataAnimationPool::~DataAnimationPool()
{
    std::cout << "[Dispose animationPool]" << std::endl;
}

std::string DataAnimationPool::toString()
{
    return "AnimationPool {\n}\n";
}
