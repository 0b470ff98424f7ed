#pragma once

#include <iostream>
#include <iterator>
#include <map>
#include <string>

// The name-ordered map behind every pool: names compare byte-wise, iteration
// and the index operations go in ascending name order. The map owns its
// elements (released by clear()), but storing a name twice overwrites without deleting (the loader
// adds each name once). Index access outside 0..size-1 answers null rather
// than reading past the map.
template <typename T>
class PoolMap
{
public:
    using Map = std::map<std::string, T*>;

    PoolMap() = default;
    PoolMap(const PoolMap&) = delete;
    PoolMap& operator=(const PoolMap&) = delete;
    // The owning pool calls clear() from its own destructor, where T is a
    // complete type; deleting here would instantiate delete on a type that
    // headers only forward-declare.
    ~PoolMap() = default;

    void put(const std::string& name, T* element) { map[name] = element; }
    bool has(const std::string& name) const { return map.find(name) != map.end(); }

    T* get(const std::string& name) const
    {
        const auto it = map.find(name);
        return it == map.end() ? nullptr : it->second;
    }

    const typename Map::value_type* at(int index) const
    {
        if (index < 0 || index >= static_cast<int>(map.size()))
            return nullptr;
        return &*std::next(map.begin(), index);
    }

    int entries() const { return static_cast<int>(map.size()); }
    Map& items() { return map; }
    const Map& items() const { return map; }

    // Deletes every element in name order. A non-empty prefix announces each
    // one as a line: prefix + name + suffix.
    void clear(const char* prefix, const char* suffix = "")
    {
        for (auto& entry : map)
        {
            if (prefix[0] != '\0')
                std::cout << prefix << entry.first << suffix << std::endl;
            delete entry.second;
        }
        map.clear();
    }

private:
    Map map;
};
