#include "demosys/script/ScriptDefaults.h"

#include "demosys/script/EffectDefinition.h"
#include "demosys/script/ParameterGroup.h"

ScriptDefaults::~ScriptDefaults()
{
    for (auto& entry : definitions)
        delete entry.second;
}

void ScriptDefaults::addEffectDefinition(const std::string& name, EffectDefinition* definition)
{
    EffectDefinition*& slot = definitions[name];
    if (slot != definition)
        delete slot;
    slot = definition;
}

bool ScriptDefaults::exists(const std::string& name) const
{
    return definitions.find(name) != definitions.end();
}

EffectDefinition* ScriptDefaults::getEffectDefinition(const std::string& name) const
{
    const auto it = definitions.find(name);
    return it == definitions.end() ? nullptr : it->second;
}

ParameterGroup* ScriptDefaults::getDefaults(const std::string& name) const
{
    const EffectDefinition* definition = getEffectDefinition(name);
    return definition ? definition->getDefaults() : nullptr;
}

std::string ScriptDefaults::toString() const
{
    std::string text = "ScriptDefaults {\n";
    for (const auto& entry : definitions)
        text += "Definition : " + entry.first + "\n" + (entry.second ? entry.second->toString() : "") + "\n";
    return text + "}\n";
}
