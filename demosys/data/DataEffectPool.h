#pragma once

#include "demosys/data/DataPool.h"

#include <string>

// The pool of effect templates and effect objects. Its elements and their operations arrive with their
// element type; until then it holds nothing but keeps its place in the
// registry, its dump and its disposal line.
class DataEffectPool : public DataPool
{
public:
    DataEffectPool() = default;
    ~DataEffectPool() override;

    std::string toString() override;
};
