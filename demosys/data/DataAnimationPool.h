#pragma once

#include "demosys/data/DataPool.h"

#include <string>

// The pool of keyframe animations. Its elements and their operations arrive with their
// element type; until then it holds nothing but keeps its place in the
// registry, its dump and its disposal line.
class DataAnimationPool : public DataPool
{
public:
    DataAnimationPool() = default;
    ~DataAnimationPool() override;

    std::string toString() override;
};
