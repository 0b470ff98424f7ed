#include "demosys/script/EffectDefinition.h"

#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"

EffectDefinition::~EffectDefinition()
{
    delete parameters;
    delete methods;
}

void EffectDefinition::setParameters(Parameters* parameters_)
{
    if (parameters != parameters_)
        delete parameters;
    parameters = parameters_;
}

void EffectDefinition::setMethods(Parameters* methods_)
{
    if (methods != methods_)
        delete methods;
    methods = methods_;
}

bool EffectDefinition::hasParameter(const std::string& name) const
{
    return parameters && parameters->exist(name);
}

ParameterGroup* EffectDefinition::getParameter(const std::string& name) const
{
    return parameters ? parameters->getGroup(name) : nullptr;
}

bool EffectDefinition::hasMethod(const std::string& name) const
{
    return methods && methods->exist(name);
}

ParameterGroup* EffectDefinition::getMethod(const std::string& name) const
{
    return methods ? methods->getGroup(name) : nullptr;
}

ParameterGroup* EffectDefinition::getDefaults() const
{
    ParameterGroup* defaults = new ParameterGroup("parameters");
    if (parameters)
        for (const auto& declaration : parameters->getGroups())
            defaults->addParameter(declaration.first, declaration.second->getParameter("default"));
    return defaults;
}

std::string EffectDefinition::toString() const
{
    std::string text = "EffectDefinition {\neffect = " + effectName + "\n";
    text += parameters ? parameters->toString() + "\n" : "No Parameters\n";
    text += methods ? methods->toString() + "\n" : "No methods\n";
    return text + "}\n";
}
