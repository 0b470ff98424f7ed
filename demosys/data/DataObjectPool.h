#pragma once

#include "demosys/data/DataPool.h"

#include <string>

// The pool of 3D objects (the scene model). Its elements and their operations arrive with their
// element type; until then it holds nothing but keeps its place in the
// registry, its dump and its disposal line.
class DataObjectPool : public DataPool
{
public:
    DataObjectPool() = default;
    ~DataObjectPool() override;

    std::string toString() override;
};
