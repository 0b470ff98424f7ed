#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <string>

class FrameBufferObject;

// Render targets by script name; deleted silently with the pool.
class DataFBOPool : public DataPool
{
public:
    DataFBOPool() = default;
    ~DataFBOPool() override;

    void addFBO(const std::string& name, FrameBufferObject* fbo);
    // Null, with a line on standard output, for a name the pool lacks.
    FrameBufferObject* getFBO(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Binds, clears and releases every target drawn into this frame.
    void clearFlaggedFBOs();
    PoolMap<FrameBufferObject>::Map& getFBOMap() { return fbos.items(); }

    int size() override;
    std::string toString() override;

private:
    PoolMap<FrameBufferObject> fbos;
};
