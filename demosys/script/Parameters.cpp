#include "demosys/script/Parameters.h"

#include "demosys/script/ParameterGroup.h"

#include <iterator>

Parameters::~Parameters()
{
    for (auto& entry : groups)
        delete entry.second;
}

void Parameters::addGroup(const std::string& name, ParameterGroup* group)
{
    if (!group)
        return;
    group->setGroupName(name);
    ParameterGroup*& slot = groups[name];
    if (slot != group)
        delete slot;
    slot = group;
}

bool Parameters::exist(const std::string& name) const
{
    return groups.find(name) != groups.end();
}

ParameterGroup* Parameters::getGroup(const std::string& name) const
{
    const auto it = groups.find(name);
    return it == groups.end() ? nullptr : it->second;
}

const Parameters::Map::value_type* Parameters::entryAt(int index) const
{
    if (index < 0 || index >= size())
        return nullptr;
    return &*std::next(groups.begin(), index);
}

std::string Parameters::getKey(int index) const
{
    const auto* entry = entryAt(index);
    return entry ? entry->first : std::string();
}

ParameterGroup* Parameters::getValue(int index) const
{
    const auto* entry = entryAt(index);
    return entry ? entry->second : nullptr;
}

std::string Parameters::toString() const
{
    std::string text;
    for (const auto& entry : groups)
        text += entry.second->toString();
    return text;
}
