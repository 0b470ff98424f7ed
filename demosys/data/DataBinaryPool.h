#pragma once

#include "demosys/data/DataPool.h"
#include "demosys/data/PoolMap.h"

#include <string>

class Binary;

// Binary blobs by script name.
class DataBinaryPool : public DataPool
{
public:
    DataBinaryPool() = default;
    ~DataBinaryPool() override;

    void addData(const std::string& name, Binary* blob);
    Binary* getData(const std::string& name) const;
    // The blob at index i in name order; null outside 0..size-1.
    Binary* getData(int index) const;
    bool exist(const std::string& name) const;
    PoolMap<Binary>::Map& getBinaryMap() { return blobs.items(); }

    std::string toString() override;

private:
    PoolMap<Binary> blobs;
};
