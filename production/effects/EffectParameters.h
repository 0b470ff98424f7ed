#pragma once

#include <string>

class ParameterGroup;

// Reading an effect's script parameters in init(), with or without a group.
class EffectParameters
{
public:
    // A parameter of the effect's group, "" without a group or key.
    static std::string get(const ParameterGroup* group, const std::string& key);
    // The script object's name, "" without a group.
    static std::string objectName(const ParameterGroup* group);
};
