#pragma once

#include <map>
#include <string>

class EffectDefinition;
class ParameterGroup;

// Every loaded definition by the name of its effect class or system block,
// in ascending byte order. Owns the definitions.
class ScriptDefaults
{
public:
    using Map = std::map<std::string, EffectDefinition*>;

    ScriptDefaults() = default;
    ~ScriptDefaults();

    ScriptDefaults(const ScriptDefaults&) = delete;
    ScriptDefaults& operator=(const ScriptDefaults&) = delete;

    // Takes ownership; a definition replaced under the same name is deleted.
    void addEffectDefinition(const std::string& name, EffectDefinition* definition);
    bool exists(const std::string& name) const;
    // The definition, or null for an unknown name.
    EffectDefinition* getEffectDefinition(const std::string& name) const;
    // A new group of the definition's defaults, owned by the caller; null
    // when no definition is stored under the name.
    ParameterGroup* getDefaults(const std::string& name) const;
    int size() const { return static_cast<int>(definitions.size()); }

    const Map& getDefinitions() const { return definitions; }

    std::string toString() const;

private:
    Map definitions;
};
