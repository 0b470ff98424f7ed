#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/script/ScriptDefaults.h"
#include "tests/support/ScriptFixtures.h"

#include <gtest/gtest.h>

using scripttest::ParseResult;

namespace
{
class DemoScriptParserValidationTest : public scripttest::ScriptTest
{
};

std::string effectHead(const std::string& instance)
{
    return "Error while parsing demoscript!\nBlock : '" + instance + "' (Effect Definition)\n";
}

std::string valueHead(const std::string& instance, const std::string& key, const std::string& value)
{
    return effectHead(instance) + "Parameter :  '" + key + "'\nValue :  '" + value + "'\n";
}

std::string defaultsError(const std::string& className)
{
    return "Error parsing demoscript!\n"
           "Defaults for block '" + className + "' not found!\n"
           "Possible Cause :\n"
           "- There is no .def file for the block\n"
           "- Block name have a spelling error?\n"
           "- paths { } is not the first block in the demoscript?\n";
}
}

// --- Defaults and the place of the paths block ---

TEST_F(DemoScriptParserValidationTest, ReferenceExampleYieldsTheDocumentedGroups)
{
    writeDefinition("BlendEffect", std::string(scripttest::blendDefinition) +
                                       "parameters {\n"
                                       "    shader [type=string] [default=default] [values=<string>];\n"
                                       "    buffer1 [type=string] [default=none] [values=<string>];\n"
                                       "    opacity [type=float] [default=1.0] [values=<string>];\n"
                                       "}\n");
    ParseResult result = parse("{MRVDS1}\n"
                               "// comment lines and trailing comments are ignored\n"
                               "paths {\n"
                               "    definition = " + dir.path() + "definitions/;\n"
                               "    shaders = shaders/;\n"
                               "}\n"
                               "system {\n"
                               "    rowrate = 20;   // a trailing comment\n"
                               "}\n"
                               "shaders {\n"
                               "    blend = blend;\n"
                               "}\n"
                               "framebuffers {\n"
                               "    buffer = width, height, COLOR_BUFFER, DEPTH_BUFFER;\n"
                               "}\n"
                               "timeline {\n"
                               "    skipped without being read\n"
                               "}\n"
                               "blend1 * BlendEffect {\n"
                               "    shader = shaders[blend];\n"
                               "    buffer1 = framebuffers[buffer];\n"
                               "}\n");
    ASSERT_TRUE(result.valid()) << result.error();

    EXPECT_EQ(result.system->toString(),
              "framebuffers {\n    buffer = width, height, COLOR_BUFFER, DEPTH_BUFFER;\n}\n"
              "paths {\n    definition = " + dir.path() + "definitions/;\n    shaders = shaders/;\n}\n"
              "shaders {\n    blend = blend;\n}\n"
              "system {\n    rowrate = 20;\n    stop = 1800000;\n}\n");
    EXPECT_EQ(result.effects->toString(),
              "blend1 {\n    buffer1 = buffer;\n    class = BlendEffect;\n    opacity = 1.0;\n    shader = blend;\n}\n");
}

TEST_F(DemoScriptParserValidationTest, SystemBlocksAfterPathsStartFromTheirDefaults)
{
    ParseResult result = parse("{MRVDS1}\nsystem { extra = 1; }\n" + pathsBlock() +
                               "sound { play = 0; undeclared = yes; }\nscreen { width = wide; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    // Before paths: no definition loaded yet, so no defaults.
    EXPECT_EQ(result.system->getGroup("system")->size(), 1);
    // After paths: defaults filled in, but system blocks are not validated.
    EXPECT_EQ(result.systemValue("sound", "play"), "0");
    EXPECT_EQ(result.systemValue("sound", "undeclared"), "yes");
    EXPECT_EQ(result.systemValue("screen", "width"), "wide");
    EXPECT_FALSE(result.system->getGroup("paths")->exist("play"));
}

TEST_F(DemoScriptParserValidationTest, EffectBlockBeforePathsHasNoDefaults)
{
    ParseResult result = parse("{MRVDS1}\nb1 * BlendEffect { count = 2; }\n" + pathsBlock());
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), defaultsError("BlendEffect"));
    EXPECT_EQ(result.effects->size(), 0);
}

TEST_F(DemoScriptParserValidationTest, EffectClassWithoutDefinitionFails)
{
    ParseResult result = parseWithPaths("b1 * NoSuchEffect { count = 2; }\n");
    EXPECT_EQ(result.error(), defaultsError("NoSuchEffect"));

    result = parseWithPaths("b1 * { count = 2; }\n");
    EXPECT_EQ(result.error(), defaultsError(""));
}

TEST_F(DemoScriptParserValidationTest, DefaultsFillWhatTheBlockDoesNotSet)
{
    ParseResult result = parseWithPaths("  b1   *   BlendEffect  { count = 7; }\nf1 * FadeEffect { speed = 2.5; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    const ParameterGroup* b1 = result.effects->getGroup("b1");
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->getGroupName(), "b1");
    EXPECT_EQ(b1->toString(), "b1 {\n    class = BlendEffect;\n    count = 7;\n    mode = add;\n"
                              "    opacity = 1.0;\n    shader = default;\n    visible = true;\n}\n");
    EXPECT_EQ(result.effectValue("f1", "speed"), "2.5");
    EXPECT_EQ(result.effectValue("f1", "class"), "FadeEffect");
}

TEST_F(DemoScriptParserValidationTest, TwoObjectsOfOneClassGetIndependentGroups)
{
    ParseResult result = parseWithPaths("a * BlendEffect { count = 1; }\nb * BlendEffect { count = 2; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_NE(result.effects->getGroup("a"), result.effects->getGroup("b"));
    EXPECT_EQ(result.effectValue("a", "count"), "1");
    EXPECT_EQ(result.effectValue("b", "count"), "2");
}

// --- Registration and uniqueness ---

TEST_F(DemoScriptParserValidationTest, UnregisteredTemplateFails)
{
    // "system" has a definition but no template.
    ParseResult result = parseWithPaths("s1 * system { rowrate = 5; }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), effectHead("s1") +
                                  "Error : Effect template 'system' do not exist!\n"
                                  "Probable cause : Spelling error or your effect template is not added to the Demosys.\n");
}

TEST_F(DemoScriptParserValidationTest, DuplicateInstanceNameFails)
{
    ParseResult result = parseWithPaths("b1 * BlendEffect { count = 1; }\nb1 * FadeEffect { speed = 1.0; }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), effectHead("b1") +
                                  "Error : Redefinition of scriptobject 'b1'\n"
                                  "Probable cause : You have two or more effects with identical names\n"
                                  "Effect names must be unique!\n");
    EXPECT_EQ(result.effectValue("b1", "class"), "BlendEffect");
}

TEST_F(DemoScriptParserValidationTest, InstanceAndSystemBlockMayShareAName)
{
    ParseResult result = parseWithPaths("logo { a = 1; }\nlogo * FadeEffect { speed = 1.0; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_TRUE(result.system->exist("logo"));
    EXPECT_TRUE(result.effects->exist("logo"));
}

// --- Values by type ---

TEST_F(DemoScriptParserValidationTest, UndeclaredParameterFails)
{
    ParseResult result = parseWithPaths("b1 * BlendEffect { colour = red; }\n");
    EXPECT_EQ(result.error(), effectHead("b1") + "Parameter :  'colour'\n"
                                                 "Error :  Not defined as a valid parameter for BlendEffect\n");
}

TEST_F(DemoScriptParserValidationTest, OptionsAreMatchedExactly)
{
    ParseResult result = parseWithPaths("b1 * BlendEffect { mode = multiply; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.effectValue("b1", "mode"), "multiply");

    result = parseWithPaths("b1 * BlendEffect { mode = Multiply; }\n");
    EXPECT_EQ(result.error(), valueHead("b1", "mode", "Multiply") +
                                  "Error :  value is not a valid option\n"
                                  "Defined options are : add, multiply\n");

    result = parseWithPaths("b1 * BlendEffect { mode = add, multiply; }\n");
    EXPECT_NE(result.error().find("value is not a valid option"), std::string::npos);
}

TEST_F(DemoScriptParserValidationTest, NumbersAndBooleans)
{
    const struct
    {
        const char* statement;
        bool accepted;
        const char* failure;
    } cases[] = {
        {"opacity = 1.0", true, ""},
        {"opacity = -0.5", true, ""},
        {"opacity = 1", false, "Error :  value is not a float as defined in BlendEffect.def\n"},
        {"opacity = .5", false, "Error :  value is not a float as defined in BlendEffect.def\n"},
        {"count = -3", true, ""},
        {"count = 1.5", false, "Error :  value is not an int as defined in BlendEffect.def\n"},
        {"count = +5", false, "Error :  value is not an int as defined in BlendEffect.def\n"},
        {"visible = false", true, ""},
        {"visible = 1", false, "Error :  value is not a bool as defined in BlendEffect.def\n"},
        {"visible = True", false, "Error :  value is not a bool as defined in BlendEffect.def\n"},
    };
    for (const auto& c : cases)
    {
        ParseResult result = parseWithPaths(std::string("b1 * BlendEffect { ") + c.statement + "; }\n");
        EXPECT_EQ(result.valid(), c.accepted) << c.statement << "\n" << result.error();
        if (c.accepted)
            continue;
        const std::string statement = c.statement;
        const std::string key = statement.substr(0, statement.find(' '));
        const std::string value = statement.substr(statement.find("= ") + 2);
        EXPECT_EQ(result.error(), valueHead("b1", key, value) + c.failure) << c.statement;
    }
}

TEST_F(DemoScriptParserValidationTest, UnsupportedTypeFailsAndIsWrittenToStandardError)
{
    writeDefinition("FadeEffect", "parameters {\n"
                                  "    speed [type=double] [default=1.0] [values=<string>];\n"
                                  "}\n");
    ::testing::internal::CaptureStderr();
    ParseResult result = parseWithPaths("f1 * FadeEffect { speed = 2.0; }\n");
    const std::string errors = ::testing::internal::GetCapturedStderr();
    const std::string expected = valueHead("f1", "speed", "2.0") +
                                 "Param type : double\nError : Parameter type is not supported!";
    EXPECT_EQ(result.error(), expected);
    EXPECT_EQ(errors, expected + "\n");
}

TEST_F(DemoScriptParserValidationTest, TypeWrittenWithBlanksIsNotSupported)
{
    writeDefinition("FadeEffect", "parameters {\n    speed [type = float] [default=1.0] [values=<string>];\n}\n");
    ::testing::internal::CaptureStderr();
    ParseResult result = parseWithPaths("f1 * FadeEffect { speed = 2.0; }\n");
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result.error(), valueHead("f1", "speed", "2.0") +
                                  "Param type : \nError : Parameter type is not supported!");
}

TEST_F(DemoScriptParserValidationTest, FirstFailingKeyInByteOrderIsReported)
{
    ParseResult result = parseWithPaths("b1 * BlendEffect { visible = 1; count = x; }\n");
    EXPECT_EQ(result.error(), valueHead("b1", "count", "x") +
                                  "Error :  value is not an int as defined in BlendEffect.def\n");

    result = parseWithPaths("b1 * BlendEffect { visible = 1; count = x; Zoom = 2; }\n");
    EXPECT_EQ(result.error(), effectHead("b1") + "Parameter :  'Zoom'\n"
                                                 "Error :  Not defined as a valid parameter for BlendEffect\n");
}

// --- Defaults that fail ---

TEST_F(DemoScriptParserValidationTest, InvalidDefaultFailsOnlyWhereItIsNotOverridden)
{
    writeDefinition("FadeEffect", "parameters {\n"
                                  "    speed [type=float] [default=1] [values=<string>];\n"
                                  "    size [type=float] [default=2.0] [values=<string>];\n"
                                  "}\n");
    ParseResult result = parseWithPaths("f1 * FadeEffect { size = 3.0; }\n");
    EXPECT_EQ(result.error(), valueHead("f1", "speed", "1") +
                                  "Error :  value is not a float as defined in FadeEffect.def\n");

    result = parseWithPaths("f1 * FadeEffect { speed = 2.0; }\n");
    EXPECT_TRUE(result.valid()) << result.error();
}

TEST_F(DemoScriptParserValidationTest, EmptyStringDefaultsFail)
{
    writeDefinition("FadeEffect", "parameters {\n"
                                  "    name [type=string] [values=<string>];\n"
                                  "    pick [type=string] [default=a] [values=a, b];\n"
                                  "    speed [type=float] [default=1.0] [values=<string>];\n"
                                  "}\n");
    ParseResult result = parseWithPaths("f1 * FadeEffect { speed = 2.0; }\n");
    EXPECT_EQ(result.error(), valueHead("f1", "name", "") + "Error : Reverse lookup failed\n");

    writeDefinition("FadeEffect", "parameters {\n"
                                  "    pick [type=string] [values=a, b];\n"
                                  "    speed [type=float] [default=1.0] [values=<string>];\n"
                                  "}\n");
    result = parseWithPaths("f1 * FadeEffect { speed = 2.0; }\n");
    EXPECT_EQ(result.error(), valueHead("f1", "pick", "") +
                                  "Error :  value is not a valid option\nDefined options are : a, b\n");
}

TEST_F(DemoScriptParserValidationTest, StringWithoutValuesAttributeAdmitsNothing)
{
    writeDefinition("FadeEffect", "parameters {\n    speed [type=string] [default=x];\n}\n");
    ParseResult result = parseWithPaths("f1 * FadeEffect { speed = x; }\n");
    EXPECT_EQ(result.error(), valueHead("f1", "speed", "x") +
                                  "Error :  value is not a valid option\nDefined options are : \n");
}

// --- References ---

TEST_F(DemoScriptParserValidationTest, ReferenceToAnEarlierBlockResolvesToTheBareKey)
{
    ParseResult result = parseWithPaths("graphics { logo = logo.png; }\nb1 * BlendEffect { shader = graphics[logo]; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.effectValue("b1", "shader"), "logo");

    result = parseWithPaths("b1 * BlendEffect { shader = logo; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.effectValue("b1", "shader"), "logo");
}

TEST_F(DemoScriptParserValidationTest, ReferencesThatDoNotResolve)
{
    const char* const scripts[] = {
        "b1 * BlendEffect { shader = graphics[logo]; }\ngraphics { logo = logo.png; }\n",
        "graphics { other = a.png; }\nb1 * BlendEffect { shader = graphics[logo]; }\n",
        "graphics { logo = a.png; }\nb1 * BlendEffect { shader = Graphics[logo]; }\n",
        "graphics { logo = a.png; }\nb1 * BlendEffect { shader = graphics [logo]; }\n",
        "graphics { logo = a.png; }\nb1 * BlendEffect { shader = ]graphics[logo; }\n",
    };
    for (const char* blocks : scripts)
    {
        ParseResult result = parseWithPaths(blocks);
        EXPECT_FALSE(result.valid()) << blocks;
        const std::string error = result.error();
        EXPECT_NE(error.find("Error : Reverse lookup failed\n"), std::string::npos) << blocks << error;
        EXPECT_EQ(error.find(effectHead("b1") + "Parameter :  'shader'\nValue :  '"), 0u) << error;
    }
}

TEST_F(DemoScriptParserValidationTest, ReferenceCannotBeWrittenAsADefault)
{
    writeDefinition("FadeEffect", "parameters {\n    image [type=string] [values=<string>] [default=graphics[logo]];\n"
                                  "    speed [type=float] [default=1.0] [values=<string>];\n}\n");
    // The declaration is split at "[" and "]", which cuts the default to
    // "graphics"; "logo" becomes a fourth piece and is ignored.
    ParseResult result = parseWithPaths("graphics { logo = a.png; }\nf1 * FadeEffect { speed = 2.0; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.effectValue("f1", "image"), "graphics");
}

// --- The class entry ---

TEST_F(DemoScriptParserValidationTest, ClassEntryIsTheClassPartOfTheBlockName)
{
    ParseResult result = parseWithPaths("b1 * BlendEffect { class = Other; }\n");
    EXPECT_EQ(result.error(), effectHead("b1") + "Parameter :  'class'\n"
                                                 "Error :  Not defined as a valid parameter for BlendEffect\n");

    writeDefinition("FadeEffect", "parameters {\n    class [type=string] [default=x] [values=<string>];\n}\n");
    result = parseWithPaths("f1 * FadeEffect { class = Other; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.effectValue("f1", "class"), "FadeEffect");
}

// --- Definition files ---

TEST_F(DemoScriptParserValidationTest, MissingDefinitionFileStopsTheParse)
{
    removeDefinition("FadeEffect");
    ParseResult result = parseWithPaths("graphics { a = 1; }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), "EffectDefinitionParser : '" + dir.path() + "definitions/FadeEffect.def' not found!");
    EXPECT_FALSE(result.system->exist("graphics"));
    EXPECT_TRUE(result.system->exist("paths"));
}

TEST_F(DemoScriptParserValidationTest, EverySystemDefinitionIsRequired)
{
    for (const char* name : {"system", "screen", "sound"})
    {
        removeDefinition(name);
        ParseResult result = parseWithPaths("");
        EXPECT_EQ(result.error(), "EffectDefinitionParser : '" + dir.path() + "definitions/" + name + ".def' not found!");
        writeDefinition(name, "parameters { }");
    }
}

TEST_F(DemoScriptParserValidationTest, MalformedDefinitionMessageIsPassedOnUnchanged)
{
    writeDefinition("BlendEffect", "params { a [type=int]; }");
    ParseResult result = parseWithPaths("");
    EXPECT_EQ(result.error(), "EffectDefinitionParser : Invalid block name!\n"
                              "File : " + dir.path() + "definitions/BlendEffect.def'\n"
                              "block name 'params' is not valid\n"
                              "Valid blocks : parameters, methods\n");
}

TEST_F(DemoScriptParserValidationTest, SecondPathsBlockReloadsFromItsOwnPath)
{
    testsupport::TempDir other;
    other.write("BlendEffect.def", "parameters { only [type=int] [default=1] [values=<string>]; }");
    for (const char* name : {"FadeEffect", "system", "screen", "sound"})
        other.write(std::string(name) + ".def", "parameters { }");
    ParseResult result = parseWithPaths("paths { definition = " + other.path() + "; }\nb1 * BlendEffect { only = 2; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.effects->getGroup("b1")->toString(), "b1 {\n    class = BlendEffect;\n    only = 2;\n}\n");
    EXPECT_EQ(result.parser->getScriptDefaults()->size(), 5);
}
