#pragma once

#include <string>

// Base of every named pool. Pools own what they hold; deleting a pool is the
// one place where loaded resources (and their GL objects) are destroyed.
class DataPool
{
public:
    DataPool() = default;
    virtual ~DataPool();

    DataPool(const DataPool&) = delete;
    DataPool& operator=(const DataPool&) = delete;

    virtual int size();
    virtual std::string toString();

protected:
    int count = 0;
};
