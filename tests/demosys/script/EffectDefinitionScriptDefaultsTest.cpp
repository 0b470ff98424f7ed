#include "demosys/script/EffectDefinition.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/script/ScriptDefaults.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
EffectDefinition* definitionWithDefault(const std::string& parameter, const std::string& value)
{
    ParameterGroup* declaration = new ParameterGroup();
    declaration->addParameter("default", value);
    Parameters* parameters = new Parameters();
    parameters->addGroup(parameter, declaration);
    EffectDefinition* definition = new EffectDefinition();
    definition->setParameters(parameters);
    return definition;
}
}

TEST(EffectDefinitionScriptDefaultsTest, UnknownNamesHaveNoDefinitionAndNoDefaults)
{
    ScriptDefaults defaults;
    EXPECT_EQ(defaults.size(), 0);
    EXPECT_FALSE(defaults.exists("BlendEffect"));
    EXPECT_EQ(defaults.getEffectDefinition("BlendEffect"), nullptr);
    EXPECT_EQ(defaults.getDefaults("BlendEffect"), nullptr);
}

TEST(EffectDefinitionScriptDefaultsTest, DefaultsAreAFreshGroupEachTime)
{
    ScriptDefaults defaults;
    defaults.addEffectDefinition("FadeEffect", definitionWithDefault("speed", "0.5"));
    EXPECT_TRUE(defaults.exists("FadeEffect"));

    std::unique_ptr<ParameterGroup> first(defaults.getDefaults("FadeEffect"));
    std::unique_ptr<ParameterGroup> second(defaults.getDefaults("FadeEffect"));
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());
    first->addParameter("speed", "2.0");
    EXPECT_EQ(second->getParameter("speed"), "0.5");
    std::unique_ptr<ParameterGroup> third(defaults.getDefaults("FadeEffect"));
    EXPECT_EQ(third->getParameter("speed"), "0.5");
}

TEST(EffectDefinitionScriptDefaultsTest, AddingUnderAnExistingNameReplaces)
{
    ScriptDefaults defaults;
    defaults.addEffectDefinition("system", definitionWithDefault("rowrate", "20"));
    EffectDefinition* replacement = definitionWithDefault("rowrate", "30");
    defaults.addEffectDefinition("system", replacement);
    EXPECT_EQ(defaults.size(), 1);
    EXPECT_EQ(defaults.getEffectDefinition("system"), replacement);
    std::unique_ptr<ParameterGroup> group(defaults.getDefaults("system"));
    EXPECT_EQ(group->getParameter("rowrate"), "30");
}

TEST(EffectDefinitionScriptDefaultsTest, TextFormListsDefinitionsInNameOrder)
{
    ScriptDefaults defaults;
    EXPECT_EQ(defaults.toString(), "ScriptDefaults {\n}\n");
    defaults.addEffectDefinition("sound", new EffectDefinition());
    defaults.addEffectDefinition("FadeEffect", new EffectDefinition());
    const std::string empty = "EffectDefinition {\neffect = \nNo Parameters\nNo methods\n}\n";
    EXPECT_EQ(defaults.toString(), "ScriptDefaults {\n"
                                   "Definition : FadeEffect\n" + empty + "\n"
                                   "Definition : sound\n" + empty + "\n"
                                   "}\n");
}

TEST(EffectDefinitionScriptDefaultsTest, ReplacingTheParameterSetOfADefinition)
{
    std::unique_ptr<EffectDefinition> definition(definitionWithDefault("a", "1"));
    Parameters* replacement = new Parameters();
    replacement->addGroup("b", new ParameterGroup());
    definition->setParameters(replacement);
    EXPECT_FALSE(definition->hasParameter("a"));
    EXPECT_TRUE(definition->hasParameter("b"));
    definition->setParameters(nullptr);
    EXPECT_FALSE(definition->hasParameters());
}
