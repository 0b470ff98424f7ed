#include "demosys/script/EffectDefinition.h"
#include "demosys/script/EffectDefinitionParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "tests/support/ScriptFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
class EffectDefinitionParserTest : public ::testing::Test
{
protected:
    // Parses the text as a .def file; null after an error, which is then
    // kept in `error`.
    std::unique_ptr<EffectDefinition> parse(const std::string& text)
    {
        fileName = dir.write("Test.def", text);
        EffectDefinitionParser parser(fileName);
        std::unique_ptr<EffectDefinition> definition(parser.parse());
        valid = parser.isValid();
        error = parser.getErrorMessage();
        EXPECT_EQ(valid, definition != nullptr);
        return definition;
    }

    testsupport::TempDir dir;
    std::string fileName;
    std::string error;
    bool valid = false;
};
}

// --- Blocks ---

TEST_F(EffectDefinitionParserTest, MissingFileIsReported)
{
    EffectDefinitionParser parser(dir.path() + "Nothing.def");
    EXPECT_TRUE(parser.isValid());
    EXPECT_EQ(parser.parse(), nullptr);
    EXPECT_FALSE(parser.isValid());
    EXPECT_EQ(parser.getErrorMessage(), "EffectDefinitionParser : '" + dir.path() + "Nothing.def' not found!");
}

TEST_F(EffectDefinitionParserTest, CompleteFileGivesParametersMethodsAndDefaults)
{
    auto definition = parse(scripttest::blendDefinition);
    ASSERT_TRUE(definition);
    EXPECT_TRUE(valid);
    EXPECT_EQ(error, "");
    ASSERT_TRUE(definition->hasParameters());
    ASSERT_TRUE(definition->hasMethods());
    EXPECT_EQ(definition->getParameters()->size(), 5);

    const ParameterGroup* mode = definition->getParameter("mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->getGroupName(), "mode");
    EXPECT_EQ(mode->getParameter("type"), "string");
    EXPECT_EQ(mode->getParameter("default"), "add");
    EXPECT_EQ(mode->getParameter("values"), "add, multiply");
    EXPECT_EQ(mode->size(), 3);

    EXPECT_TRUE(definition->hasParameter("opacity"));
    EXPECT_FALSE(definition->hasParameter("Opacity"));
    EXPECT_EQ(definition->getParameter("missing"), nullptr);

    std::unique_ptr<ParameterGroup> defaults(definition->getDefaults());
    EXPECT_EQ(defaults->getGroupName(), "parameters");
    EXPECT_EQ(defaults->toString(), "parameters {\n"
                                    "    count = 4;\n"
                                    "    mode = add;\n"
                                    "    opacity = 1.0;\n"
                                    "    shader = default;\n"
                                    "    visible = true;\n"
                                    "}\n");
}

TEST_F(EffectDefinitionParserTest, OnlyParametersBlockHasNoMethods)
{
    auto definition = parse("parameters { a [type=int] [default=1] [values=<string>]; }");
    ASSERT_TRUE(definition);
    EXPECT_TRUE(definition->hasParameters());
    EXPECT_FALSE(definition->hasMethods());
    EXPECT_FALSE(definition->hasMethod("a"));
    EXPECT_EQ(definition->getMethod("a"), nullptr);
    EXPECT_EQ(definition->getMethods(), nullptr);
}

TEST_F(EffectDefinitionParserTest, OnlyMethodsBlockHasNoParametersAndEmptyDefaults)
{
    auto definition = parse("methods { go(); }");
    ASSERT_TRUE(definition);
    EXPECT_FALSE(definition->hasParameters());
    EXPECT_TRUE(definition->hasMethods());
    EXPECT_FALSE(definition->hasParameter("go"));
    std::unique_ptr<ParameterGroup> defaults(definition->getDefaults());
    EXPECT_EQ(defaults->getGroupName(), "parameters");
    EXPECT_EQ(defaults->size(), 0);
}

TEST_F(EffectDefinitionParserTest, EmptyFileGivesADefinitionWithoutBlocks)
{
    auto definition = parse(" \n\t ");
    ASSERT_TRUE(definition);
    EXPECT_FALSE(definition->hasParameters());
    EXPECT_FALSE(definition->hasMethods());
}

TEST_F(EffectDefinitionParserTest, InvalidBlockNameIsReported)
{
    EXPECT_FALSE(parse("parameter { a [type=int]; }"));
    EXPECT_FALSE(valid);
    EXPECT_EQ(error, "EffectDefinitionParser : Invalid block name!\n"
                     "File : " + fileName + "'\n"
                     "block name 'parameter' is not valid\n"
                     "Valid blocks : parameters, methods\n");
}

TEST_F(EffectDefinitionParserTest, InvalidBlockAfterValidOnesStillFails)
{
    EXPECT_FALSE(parse("parameters { a [type=int]; } Methods { f(); }"));
    EXPECT_NE(error.find("block name 'Methods' is not valid\n"), std::string::npos);
}

TEST_F(EffectDefinitionParserTest, LaterBlockOfAKindReplacesTheEarlier)
{
    auto definition = parse("parameters { a [type=int] [default=1] [values=<string>]; }\n"
                            "parameters { b [type=int] [default=2] [values=<string>]; }");
    ASSERT_TRUE(definition);
    EXPECT_FALSE(definition->hasParameter("a"));
    EXPECT_TRUE(definition->hasParameter("b"));
}

TEST_F(EffectDefinitionParserTest, EmptyBlockSwallowsTheNextBlockName)
{
    // "parameters { }" leaves no body piece, so "methods" becomes its body
    // and the method declaration is read as a block name.
    EXPECT_FALSE(parse("parameters { } methods { f(a); }"));
    EXPECT_NE(error.find("block name 'f(a);' is not valid\n"), std::string::npos);
}

TEST_F(EffectDefinitionParserTest, EmptyLastBlockIsHarmless)
{
    auto definition = parse("methods { f(a); } parameters { }");
    ASSERT_TRUE(definition);
    ASSERT_TRUE(definition->hasParameters());
    EXPECT_EQ(definition->getParameters()->size(), 0);
    EXPECT_TRUE(definition->hasMethod("f"));
}

TEST_F(EffectDefinitionParserTest, NameAtTheEndHasAnEmptyBody)
{
    auto definition = parse("methods { f(); } parameters");
    ASSERT_TRUE(definition);
    ASSERT_TRUE(definition->hasParameters());
    EXPECT_EQ(definition->getParameters()->size(), 0);
}

// --- Parameter declarations ---

TEST_F(EffectDefinitionParserTest, BlanksAroundEqualsBelongToNameAndValue)
{
    auto definition = parse("parameters { opacity [type = float] [default=1.0] [values=<string>]; }");
    ASSERT_TRUE(definition);
    const ParameterGroup* opacity = definition->getParameter("opacity");
    ASSERT_NE(opacity, nullptr);
    EXPECT_FALSE(opacity->exist("type"));
    EXPECT_EQ(opacity->getParameter("type "), " float");
}

TEST_F(EffectDefinitionParserTest, MissingAttributeSlotsAddTheEmptyAttribute)
{
    auto definition = parse("parameters { mode [type=string] [default=add]; bare; }");
    ASSERT_TRUE(definition);
    const ParameterGroup* mode = definition->getParameter("mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->size(), 3);
    EXPECT_TRUE(mode->exist(""));
    EXPECT_EQ(mode->getParameter(""), "");

    const ParameterGroup* bare = definition->getParameter("bare");
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(bare->size(), 1);
    EXPECT_TRUE(bare->exist(""));

    std::unique_ptr<ParameterGroup> defaults(definition->getDefaults());
    EXPECT_EQ(defaults->getParameter("bare"), "");
    EXPECT_TRUE(defaults->exist("bare"));
}

TEST_F(EffectDefinitionParserTest, OnlyThreeAttributesAreRead)
{
    auto definition = parse("parameters { p [type=int] [default=1] [values=<string>] [extra=9]; }");
    ASSERT_TRUE(definition);
    const ParameterGroup* p = definition->getParameter("p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->size(), 3);
    EXPECT_FALSE(p->exist("extra"));
}

TEST_F(EffectDefinitionParserTest, AttributeValueEndsAtTheSecondEquals)
{
    auto definition = parse("parameters { p [type=int=x] [default] [=5]; }");
    ASSERT_TRUE(definition);
    const ParameterGroup* p = definition->getParameter("p");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->getParameter("type"), "int");
    EXPECT_TRUE(p->exist("default"));
    EXPECT_EQ(p->getParameter("default"), "");
    EXPECT_EQ(p->getParameter(""), "5");
}

TEST_F(EffectDefinitionParserTest, EmptyDeclarationsVanish)
{
    auto definition = parse("parameters { ;; a [type=int] [default=1] [values=<string>];\n ; }");
    ASSERT_TRUE(definition);
    EXPECT_EQ(definition->getParameters()->size(), 1);
}

TEST_F(EffectDefinitionParserTest, DeclarationWithoutNameIsStoredUnderTheEmptyName)
{
    auto definition = parse("parameters { [] ; }");
    ASSERT_TRUE(definition);
    EXPECT_TRUE(definition->hasParameter(""));
    EXPECT_EQ(definition->getParameters()->size(), 1);
}

// --- Methods ---

TEST_F(EffectDefinitionParserTest, MethodArgumentsAreKeyedByTwoDigitIndex)
{
    auto definition = parse("methods {\n flash(color, duration);\n"
                            " many(a0,a1,a2,a3,a4,a5,a6,a7,a8,a9,a10);\n"
                            " none();\n bare;\n}");
    ASSERT_TRUE(definition);
    const ParameterGroup* flash = definition->getMethod("flash");
    ASSERT_NE(flash, nullptr);
    EXPECT_EQ(flash->getGroupName(), "flash");
    EXPECT_EQ(flash->toString(), "flash {\n    00 = color;\n    01 = duration;\n}\n");

    const ParameterGroup* many = definition->getMethod("many");
    ASSERT_NE(many, nullptr);
    EXPECT_EQ(many->size(), 11);
    EXPECT_EQ(many->getParameter("09"), "a9");
    EXPECT_EQ(many->getParameter("10"), "a10");
    EXPECT_EQ(many->getKey(10), "10");

    ASSERT_TRUE(definition->hasMethod("none"));
    EXPECT_EQ(definition->getMethod("none")->size(), 0);
    ASSERT_TRUE(definition->hasMethod("bare"));
    EXPECT_EQ(definition->getMethod("bare")->size(), 0);
    EXPECT_EQ(definition->getMethods()->size(), 4);
}

TEST_F(EffectDefinitionParserTest, MethodArgumentsAreTrimmedAndEmptyOnesVanish)
{
    auto definition = parse("methods { f( x ,, y\n ); }");
    ASSERT_TRUE(definition);
    const ParameterGroup* f = definition->getMethod("f");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->size(), 2);
    EXPECT_EQ(f->getParameter("00"), "x");
    EXPECT_EQ(f->getParameter("01"), "y");
}

// --- Text form ---

TEST_F(EffectDefinitionParserTest, TextFormNamesMissingBlocks)
{
    EffectDefinition empty;
    EXPECT_EQ(empty.toString(), "EffectDefinition {\neffect = \nNo Parameters\nNo methods\n}\n");

    auto definition = parse("parameters { a [type=int] [default=1] [values=<string>]; } methods { f(x); }");
    ASSERT_TRUE(definition);
    EXPECT_EQ(definition->toString(), "EffectDefinition {\n"
                                      "effect = \n"
                                      "a {\n    default = 1;\n    type = int;\n    values = <string>;\n}\n\n"
                                      "f {\n    00 = x;\n}\n\n"
                                      "}\n");
}
