#pragma once

#include <string>

class ParameterGroup;
class Parameters;

// The parsed form of one definition file: the declared parameters (one group
// of attributes per parameter) and the declared methods (one group of
// arguments per method, keyed "00", "01", ...). Either block may be missing,
// which leaves its set null. The definition owns both sets.
class EffectDefinition
{
public:
    EffectDefinition() = default;
    ~EffectDefinition();

    EffectDefinition(const EffectDefinition&) = delete;
    EffectDefinition& operator=(const EffectDefinition&) = delete;

    // Take ownership; a set replaced by another one is deleted.
    void setParameters(Parameters* parameters);
    void setMethods(Parameters* methods);

    bool hasParameters() const { return parameters != nullptr; }
    bool hasMethods() const { return methods != nullptr; }

    bool hasParameter(const std::string& name) const;
    // The declaration's attributes, or null.
    ParameterGroup* getParameter(const std::string& name) const;
    bool hasMethod(const std::string& name) const;
    ParameterGroup* getMethod(const std::string& name) const;
    Parameters* getParameters() const { return parameters; }
    Parameters* getMethods() const { return methods; }

    // A new group "parameters", owned by the caller: every declared
    // parameter mapped to its "default" attribute ("" where none is written).
    ParameterGroup* getDefaults() const;

    // Stays empty: the name a definition is stored under identifies it.
    const std::string& getEffectName() const { return effectName; }

    std::string toString() const;

private:
    std::string effectName;
    Parameters* parameters = nullptr;
    Parameters* methods = nullptr;
};
