#pragma once

#include <map>
#include <string>

// One named block of key/value texts: a demoscript block, one parameter
// declaration of a definition file, or the parameters of one effect object.
// Values stay text; they are typed once, when the demoscript is validated.
// Keys iterate in ascending byte order, which is also the index order.
class ParameterGroup
{
public:
    using Map = std::map<std::string, std::string>;

    ParameterGroup();
    explicit ParameterGroup(const std::string& groupName);

    const std::string& getGroupName() const { return groupName; }
    void setGroupName(const std::string& name) { groupName = name; }

    // Inserts the key or replaces its value.
    void addParameter(const std::string& key, const std::string& value);
    bool exist(const std::string& key) const;
    // The value, or "" for an absent key; never inserts.
    std::string getParameter(const std::string& key) const;

    int size() const { return static_cast<int>(entries.size()); }
    // The index-th entry in key order: each call walks from the first entry,
    // so code that visits every entry uses getEntries() instead. Outside
    // 0..size-1 both answer "".
    std::string getKey(int index) const;
    std::string getValue(int index) const;

    // The ordered entries, for linear walks.
    const Map& getEntries() const { return entries; }

    // The demoscript's own block syntax, so a printed group reads back as a
    // block; an empty group prints "ParameterGroup{ EMPTY }".
    std::string toString() const;

private:
    const Map::value_type* entryAt(int index) const;

    std::string groupName;
    Map entries;
};
