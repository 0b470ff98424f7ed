#pragma once

#include <string>

class ParameterGroup;

// Reading an effect's script parameters in init(), with or without a group.
class EffectParameters
{
public:
    // A parameter of the effect's group, "" without a group or key.
    static std::string get(const ParameterGroup* group, const std::string& key);
    // A numeric parameter; `fallback` without a group, key or value. The
    // demoscript has checked the value against the declared type.
    static float number(const ParameterGroup* group, const std::string& key, float fallback);
    // The script object's name, "" without a group.
    static std::string objectName(const ParameterGroup* group);
};
