#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"
#include "demosys/script/ScriptDefaults.h"
#include "tests/support/ScriptFixtures.h"

#include <gtest/gtest.h>

using scripttest::ParseResult;

namespace
{
class DemoScriptParserSyntaxTest : public scripttest::ScriptTest
{
};

const std::string headerError = "Error while parsing demoscript!\nInvalid Script Header\nHeader : '";

std::string bracketError(const std::string& block)
{
    return "Error parsing demoscript!\nBlock have mismatching brackets\nBlock : '" + block + "'\n";
}

std::string statementError(const std::string& block, const std::string& rest)
{
    return "Error while parsing demoscript!\nBlock : '" + block + "'\n" + rest;
}
}

// --- File and header ---

TEST_F(DemoScriptParserSyntaxTest, MissingScriptFileMakesTheParserInvalid)
{
    const std::string name = dir.path() + "none.txt";
    DemoScriptParser parser(name);
    EXPECT_FALSE(parser.isValid());
    EXPECT_EQ(parser.getErrorMessage(), "DemoScriptParser : '" + name + "' not found!");
    parser.parseDefaults(true);
    parser.parse();
    EXPECT_EQ(parser.getParameterGroup("system_parameters"), nullptr);
    EXPECT_EQ(parser.getParameterGroup("effect_parameters"), nullptr);
}

TEST_F(DemoScriptParserSyntaxTest, FreshParserSaysUnknownErrorAndHasNoSets)
{
    DemoScriptParser parser(dir.write("s.txt", "{MRVDS1}"));
    EXPECT_TRUE(parser.isValid());
    EXPECT_EQ(parser.getErrorMessage(), "Unknown error");
    EXPECT_EQ(parser.getParameterGroup("system_parameters"), nullptr);
    EXPECT_EQ(parser.getScriptDefaults(), nullptr);
}

TEST_F(DemoScriptParserSyntaxTest, HeaderMayFollowBlankAndCommentLines)
{
    ParseResult result = parse("\n\r\n   // a comment\n\t\n// another\n{MRVDS1}   // trailing\n");
    ASSERT_TRUE(result.valid()) << result.error();
    ASSERT_TRUE(result.system && result.effects);
    EXPECT_EQ(result.system->size(), 0);
    EXPECT_EQ(result.effects->size(), 0);
    EXPECT_EQ(result.log, "");
}

TEST_F(DemoScriptParserSyntaxTest, HeaderVariantsThatFail)
{
    const struct
    {
        const char* script;
        const char* joined;
    } cases[] = {
        {"{ MRVDS1 }\n", "{ MRVDS1 }"},
        {"{MRVDS2}", "{MRVDS2}"},
        {"{mrvds1}", "{mrvds1}"},
        {"MRVDS1", "MRVDS1"},
        {"", ""},
        {"// only a comment", ""},
        {"{MRVDS1", "{MRVDS1"},
        {"paths { a = b; }", "paths { a = b; "},
    };
    for (const auto& c : cases)
    {
        ParseResult result = parse(c.script);
        EXPECT_FALSE(result.valid()) << c.script;
        EXPECT_EQ(result.error(), headerError + c.joined + "'\n") << c.script;
    }
}

TEST_F(DemoScriptParserSyntaxTest, HeaderOnlyLooksAtTheFirstThreeTokens)
{
    ParseResult result = parse("{MRVDS1}{");
    EXPECT_FALSE(result.valid());
    // The header passed; what follows is a block without a name.
    EXPECT_EQ(result.error(), bracketError("{"));
}

// --- Blocks ---

TEST_F(DemoScriptParserSyntaxTest, EmptyBlocksProduceNoGroup)
{
    ParseResult result = parse("{MRVDS1}\nsound { }\nscreen {}\nvideo {\n  // nothing\n}\nsystem { a = 1; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_FALSE(result.system->exist("sound"));
    EXPECT_FALSE(result.system->exist("screen"));
    EXPECT_FALSE(result.system->exist("video"));
    EXPECT_TRUE(result.system->exist("system"));
    EXPECT_EQ(result.system->size(), 1);
}

TEST_F(DemoScriptParserSyntaxTest, EmptyPathsBlockLoadsNoDefinitions)
{
    ParseResult result = parse("{MRVDS1}\npaths { }\nb * BlendEffect { count = 1; }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.log.find("[Parsing .def files]"), std::string::npos);
    EXPECT_NE(result.error().find("Defaults for block 'BlendEffect' not found!"), std::string::npos);
    EXPECT_EQ(result.parser->getScriptDefaults(), nullptr);
}

TEST_F(DemoScriptParserSyntaxTest, TimelineBlockIsSkippedUnread)
{
    ParseResult result = parse("{MRVDS1}\ntimeline {\n  skipped without being read\n  a == = ;\n}\nsystem { a = 1; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_FALSE(result.system->exist("timeline"));
    EXPECT_EQ(result.system->size(), 1);
}

TEST_F(DemoScriptParserSyntaxTest, LaterSystemBlockOfTheSameNameReplacesTheEarlier)
{
    ParseResult result = parse("{MRVDS1}\ngraphics { a = 1; }\ngraphics { b = 2; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.system->size(), 1);
    EXPECT_EQ(result.systemValue("graphics", "b"), "2");
    EXPECT_FALSE(result.system->getGroup("graphics")->exist("a"));
    EXPECT_EQ(result.system->getGroup("graphics")->getGroupName(), "graphics");
}

TEST_F(DemoScriptParserSyntaxTest, BlockNamesAreCommentStrippedAndTrimmed)
{
    ParseResult result = parse("{MRVDS1}\n  graphics // resources\n{ a = 1; }\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_TRUE(result.system->exist("graphics"));
}

TEST_F(DemoScriptParserSyntaxTest, MismatchedBracketsNameTheBlock)
{
    const struct
    {
        const char* blocks;
        const char* block;
    } cases[] = {
        {"system rowrate = 1; }", "system rowrate = 1;"},
        {"outer { inner { a = 1; } }", "outer"},
        {"system { a = 1;", "system"},
        {"system {", "system"},
        {"system", "system"},
        {"system { a = 1; } }", "}"},
        {"a { b = 1; }\nc { d = 2; } {", "{"},
    };
    for (const auto& c : cases)
    {
        ParseResult result = parse(std::string("{MRVDS1}\n") + c.blocks);
        EXPECT_FALSE(result.valid()) << c.blocks;
        EXPECT_EQ(result.error(), bracketError(c.block)) << c.blocks;
    }
}

TEST_F(DemoScriptParserSyntaxTest, BlocksBeforeAnErrorStayStored)
{
    ParseResult result = parse("{MRVDS1}\ngraphics { a = 1; }\nbroken { x }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_TRUE(result.system->exist("graphics"));
    EXPECT_FALSE(result.system->exist("broken"));
}

// --- Statements ---

TEST_F(DemoScriptParserSyntaxTest, ForgottenSemicolonGivesTooManyTokens)
{
    ParseResult result = parse("{MRVDS1}\ngraphics { a = 1 b = 2; }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), statementError("graphics", "Error: Parameter 'a' have too many tokens.\n"
                                                         "Value : '1 b'\n"
                                                         "Probable cause: Semocolon forgotten or misplaced"));
}

TEST_F(DemoScriptParserSyntaxTest, KeyOfSeveralWordsIsRejected)
{
    ParseResult result = parse("{MRVDS1}\ngraphics { my key = 1; }\n");
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), statementError("graphics", "Error: Parameter 'my key' is not a single word.\n"
                                                         "Probable cause: Semocolon forgotten or misplaced"));

    result = parse("{MRVDS1}\ngraphics { ==; }\n");
    EXPECT_EQ(result.error(), statementError("graphics", "Error: Parameter '' is not a single word.\n"
                                                         "Probable cause: Semocolon forgotten or misplaced"));

    // The empty piece before "=" vanishes, so the value is taken for the key.
    result = parse("{MRVDS1}\ngraphics { = 1; }\n");
    EXPECT_EQ(result.error(), statementError("graphics", "Error: Parameter '1' dont seem to have a value\n"
                                                         "Probable cause: Semocolon misplaced or no assigned value ('1 = ;')"));

    // A line break inside the key survives comment stripping as a CR.
    result = parse("{MRVDS1}\ngraphics { my\nkey = 1; }\n");
    EXPECT_EQ(result.error(), statementError("graphics", "Error: Parameter 'my\rkey' is not a single word.\n"
                                                         "Probable cause: Semocolon forgotten or misplaced"));
}

TEST_F(DemoScriptParserSyntaxTest, StatementsWithoutValue)
{
    for (const char* body : {"a;", "a = ;", "a =", "x = 1; a"})
    {
        ParseResult result = parse(std::string("{MRVDS1}\ngraphics { ") + body + " }\n");
        EXPECT_FALSE(result.valid()) << body;
        EXPECT_EQ(result.error(), statementError("graphics", "Error: Parameter 'a' dont seem to have a value\n"
                                                             "Probable cause: Semocolon misplaced or no assigned value ('a = ;')"))
            << body;
    }
}

TEST_F(DemoScriptParserSyntaxTest, StatementErrorInEffectBlockNamesTheWholeBlockName)
{
    ParseResult result = parse("{MRVDS1}\nb1 * BlendEffect { a b = 1; }\n", false);
    EXPECT_FALSE(result.valid());
    EXPECT_EQ(result.error(), statementError("b1 * BlendEffect", "Error: Parameter 'a b' is not a single word.\n"
                                                                 "Probable cause: Semocolon forgotten or misplaced"));
}

TEST_F(DemoScriptParserSyntaxTest, HarmlessStatementShapes)
{
    ParseResult result = parse("{MRVDS1}\ngraphics {\n"
                               "  doubled == 1;\n"
                               "  same = 1; same = 2;;\n"
                               "  list = a, b,\n     c;\n"
                               "  spaced = two words ;\n"
                               "  last = 9;\n"
                               "}\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.systemValue("graphics", "doubled"), "1");
    EXPECT_EQ(result.systemValue("graphics", "same"), "2");
    EXPECT_EQ(result.systemValue("graphics", "list"), "a, b,\rc");
    EXPECT_EQ(result.systemValue("graphics", "spaced"), "two words");
    EXPECT_EQ(result.systemValue("graphics", "last"), "9");
}

TEST_F(DemoScriptParserSyntaxTest, CommentInsideAValueCutsTheRestOfTheLine)
{
    ParseResult result = parse("{MRVDS1}\ngraphics {\n  url = left//right;\n  ;\n  b = 2; // trailing\n}\n");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.systemValue("graphics", "url"), "left");
    EXPECT_EQ(result.systemValue("graphics", "b"), "2");

    // The ";" after the comment is lost too, so the next statement runs on.
    result = parse("{MRVDS1}\ngraphics {\n  url = left//right;\n  b = 2;\n}\n");
    EXPECT_FALSE(result.valid());
    EXPECT_NE(result.error().find("Value : 'left\rb'"), std::string::npos);
}

// --- Without defaults ---

TEST_F(DemoScriptParserSyntaxTest, WithoutDefaultsNothingIsLoadedOrValidated)
{
    ParseResult result = parse("{MRVDS1}\n" + pathsBlock() +
                                   "system { extra = 1; }\n"
                                   "b1 * BlendEffect { anything = goes; opacity = 1; }\n",
                               false);
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.log, "");
    EXPECT_EQ(result.parser->getScriptDefaults(), nullptr);
    EXPECT_EQ(result.system->getGroup("system")->size(), 1);
    const ParameterGroup* b1 = result.effects->getGroup("b1");
    ASSERT_NE(b1, nullptr);
    EXPECT_EQ(b1->toString(), "b1 {\n    anything = goes;\n    class = BlendEffect;\n    opacity = 1;\n}\n");
}

TEST_F(DemoScriptParserSyntaxTest, WithoutDefaultsUnregisteredClassStillFails)
{
    ParseResult result = parse("{MRVDS1}\nb1 * Nope { a = 1; }\n", false);
    EXPECT_FALSE(result.valid());
    EXPECT_NE(result.error().find("Effect template 'Nope' do not exist!"), std::string::npos);
}

// --- Log ---

TEST_F(DemoScriptParserSyntaxTest, DefinitionLoadingIsLogged)
{
    ParseResult result = parseWithPaths("");
    ASSERT_TRUE(result.valid()) << result.error();
    EXPECT_EQ(result.log, "[Parsing .def files]\npath = " + dir.path() + "definitions/\n-> BlendEffect\n-> FadeEffect\n");
    ASSERT_NE(result.parser->getScriptDefaults(), nullptr);
    EXPECT_EQ(result.parser->getScriptDefaults()->size(), 5);
}

TEST_F(DemoScriptParserSyntaxTest, DebugPrintsDefinitionFilesAndSystemDefaults)
{
    ParseResult result = parse("{MRVDS1}\n" + pathsBlock() + "sound { play = 0; }\ngraphics { a = 1; }\n", true, true);
    ASSERT_TRUE(result.valid()) << result.error();
    const std::string defs = dir.path() + "definitions/";
    EXPECT_NE(result.log.find("Loading definition : '" + defs + "BlendEffect.def\n"), std::string::npos);
    EXPECT_NE(result.log.find("Loading definition : '" + defs + "sound.def\n"), std::string::npos);
    EXPECT_NE(result.log.find("block name : sound\nsound {\n    play = 1;\n}\n"), std::string::npos);
    EXPECT_EQ(result.log.find("block name : graphics"), std::string::npos);
    EXPECT_EQ(result.systemValue("sound", "play"), "0");
}
