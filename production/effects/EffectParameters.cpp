#include "production/effects/EffectParameters.h"

#include "demosys/script/ParameterGroup.h"
#include "mrvutils/MRVUtils.h"

std::string EffectParameters::get(const ParameterGroup* group, const std::string& key)
{
    return group ? group->getParameter(key) : std::string();
}

std::string EffectParameters::objectName(const ParameterGroup* group)
{
    return group ? group->getGroupName() : std::string();
}

float EffectParameters::number(const ParameterGroup* group, const std::string& key, float fallback)
{
    const std::string text = get(group, key);
    return text.empty() ? fallback : MRVUtils::string2Float(text);
}
