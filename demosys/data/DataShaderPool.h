#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <string>

class Shader;

// Linked shader programs by script name; deleted silently with the pool.
class DataShaderPool : public DataPool
{
public:
    DataShaderPool() = default;
    ~DataShaderPool() override;

    void addShader(const std::string& name, Shader* shader);
    Shader* getShader(const std::string& name) const;
    bool exists(const std::string& name) const;
    PoolMap<Shader>::Map& getShaderMap() { return shaders.items(); }

    int size() override;
    std::string toString() override;

private:
    PoolMap<Shader> shaders;
};
