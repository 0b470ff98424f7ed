#include "demosys/script/ParameterGroup.h"

#include <iterator>

ParameterGroup::ParameterGroup()
    : groupName("parameters")
{
}

ParameterGroup::ParameterGroup(const std::string& groupName_)
    : groupName(groupName_)
{
}

void ParameterGroup::addParameter(const std::string& key, const std::string& value)
{
    entries[key] = value;
}

bool ParameterGroup::exist(const std::string& key) const
{
    return entries.find(key) != entries.end();
}

std::string ParameterGroup::getParameter(const std::string& key) const
{
    const auto it = entries.find(key);
    return it == entries.end() ? std::string() : it->second;
}

const ParameterGroup::Map::value_type* ParameterGroup::entryAt(int index) const
{
    if (index < 0 || index >= size())
        return nullptr;
    return &*std::next(entries.begin(), index);
}

std::string ParameterGroup::getKey(int index) const
{
    const auto* entry = entryAt(index);
    return entry ? entry->first : std::string();
}

std::string ParameterGroup::getValue(int index) const
{
    const auto* entry = entryAt(index);
    return entry ? entry->second : std::string();
}

std::string ParameterGroup::toString() const
{
    if (entries.empty())
        return "ParameterGroup{ EMPTY }\n";
    std::string text = groupName + " {\n";
    for (const auto& entry : entries)
        text += "    " + entry.first + " = " + entry.second + ";\n";
    return text + "}\n";
}
