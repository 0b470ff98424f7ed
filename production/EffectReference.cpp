#include "production/EffectReference.h"

#include "demosys/runtime/Effect.h"
#include "demosys/script/EffectDefinition.h"
#include "demosys/script/EffectDefinitionParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "production/EffectRegistry.h"
#include "production/effects/CameraFlight.h"

#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

namespace {

bool describe(const EffectRegistry::Entry& entry, const std::string& definitions, std::ostream& out,
              std::string& error)
{
    EffectDefinitionParser parser(definitions + entry.name + ".def");
    std::unique_ptr<EffectDefinition> definition(parser.parse());
    if (!definition)
    {
        error = "cannot read the definition of '" + std::string(entry.name) + "': " + parser.getErrorMessage();
        return false;
    }
    out << entry.name << "\n  parameters:";
    const Parameters* parameters = definition->getParameters();
    if (!parameters || parameters->getGroups().empty())
        out << " none";
    out << "\n";
    if (parameters)
        for (const auto& declaration : parameters->getGroups())
        {
            const ParameterGroup* p = declaration.second;
            out << "    " << declaration.first << "  " << p->getParameter("type") << "  default "
                << (p->getParameter("default").empty() ? "(empty)" : p->getParameter("default"));
            const std::string values = p->getParameter("values");
            if (!values.empty() && values[0] != '<')
                out << "  one of " << values;
            out << "\n";
        }

    std::unique_ptr<Effect> prototype(entry.make());
    std::unique_ptr<Effect> instance(prototype->getInstance());
    std::unique_ptr<ParameterGroup> defaults(definition->getDefaults());
    instance->setParameters(defaults.get());
    instance->registerTracks();
    out << "  tracks:" << (instance->getTrackNames().empty() ? " none" : "") << "\n";
    for (const std::string& track : instance->getTrackNames())
    {
        out << "    " << track;
        if (const char* meaning = CameraFlight::trackMeaning(track))
            out << "  " << meaning;
        out << "\n";
    }
    instance->setParameters(nullptr);

    const std::vector<FixedResource> resources = instance->getFixedResources();
    out << "  resources:" << (resources.empty() ? " none" : "") << "\n";
    for (const FixedResource& resource : resources)
    {
        out << "    " << FixedResource::kindName(resource.kind) << " '" << resource.name << "'";
        if (!resource.purpose.empty())
            out << "  " << resource.purpose;
        out << "\n";
    }
    return true;
}

} // namespace

bool EffectReference::write(const std::string& definitions, const std::string& only, std::ostream& out,
                            std::string& error)
{
    std::vector<EffectRegistry::Entry> classes = EffectRegistry::entries();
    // Name order, as every list of the system is.
    std::sort(classes.begin(), classes.end(),
              [](const EffectRegistry::Entry& a, const EffectRegistry::Entry& b) { return std::string(a.name) < b.name; });
    bool found = only.empty();
    for (const EffectRegistry::Entry& entry : classes)
    {
        if (!only.empty() && only != entry.name)
            continue;
        found = true;
        if (!describe(entry, definitions, out, error))
            return false;
    }
    if (!found)
        error = "no effect class '" + only + "'";
    return found;
}
