#include "production/effects/EffectParameters.h"

#include "demosys/script/ParameterGroup.h"

std::string EffectParameters::get(const ParameterGroup* group, const std::string& key)
{
    return group ? group->getParameter(key) : std::string();
}

std::string EffectParameters::objectName(const ParameterGroup* group)
{
    return group ? group->getGroupName() : std::string();
}
