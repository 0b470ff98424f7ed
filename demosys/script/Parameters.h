#pragma once

#include <map>
#include <string>

class ParameterGroup;

// A set of groups keyed by their names, in ascending byte order. The set
// owns its groups: destroying it deletes them, so pointers handed out to
// effects must not outlive it.
class Parameters
{
public:
    using Map = std::map<std::string, ParameterGroup*>;

    Parameters() = default;
    ~Parameters();

    Parameters(const Parameters&) = delete;
    Parameters& operator=(const Parameters&) = delete;

    // Renames the group to `name` and stores it, taking ownership. A group
    // already stored under that name is deleted: nothing else owns it, so
    // dropping it silently would lose it. A null group is ignored.
    void addGroup(const std::string& name, ParameterGroup* group);
    bool exist(const std::string& name) const;
    // The group, or null; never inserts.
    ParameterGroup* getGroup(const std::string& name) const;

    int size() const { return static_cast<int>(groups.size()); }
    // Index access walks from the first group on every call; code visiting
    // every group uses getGroups(). Outside 0..size-1: "" and null.
    std::string getKey(int index) const;
    ParameterGroup* getValue(int index) const;

    // The ordered groups, for linear walks.
    const Map& getGroups() const { return groups; }

    // Every group's text form in name order, concatenated.
    std::string toString() const;

private:
    const Map::value_type* entryAt(int index) const;

    Map groups;
};
