#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <string>

class MRVScene;

// The loaded 3D object files (scenes) by script name.
class DataObjectPool : public DataPool
{
public:
    DataObjectPool() = default;
    ~DataObjectPool() override;

    void addObject(const std::string& name, MRVScene* scene);
    MRVScene* getObject(const std::string& name) const;
    // The scene at index i in name order; null outside 0..entries-1.
    MRVScene* getObject(int index) const;
    bool exists(const std::string& name) const;
    PoolMap<MRVScene>::Map& getObjectMap() { return scenes.items(); }

    // The texture-mapping stage: every scene, in name order, binds its
    // materials to the texture pool's textures of their diffuse map names.
    void mapTextureData();

    // Lists no entries.
    std::string toString() override;

private:
    PoolMap<MRVScene> scenes;
};
