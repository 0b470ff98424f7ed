#pragma once

#include <map>
#include <string>

class DataPool;

// The registry of pools by name. It owns the pools and deletes them in
// ascending name order.
class Data
{
public:
    Data() = default;
    ~Data();

    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;

    // An existing entry is overwritten, not deleted.
    void addData(const std::string& name, DataPool* pool);
    bool exist(const std::string& name) const;
    DataPool* getData(const std::string& name) const;
    // The pools' dumps in ascending name order, nothing between them.
    std::string toString() const;
    int size() const { return static_cast<int>(pools.size()); }

private:
    std::map<std::string, DataPool*> pools;
};
