#include "demosys/script/DemoScriptParser.h"
#include "demosys/script/EffectDefinition.h"
#include "demosys/script/EffectDefinitionParser.h"
#include "tests/support/ScriptFixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

using scripttest::ParseResult;

// Whatever the bytes, a parse ends, and a failed one explains itself.
namespace
{
class DemoScriptParserMalformedTest : public scripttest::ScriptTest
{
protected:
    void expectExplained(const ParseResult& result, const std::string& label)
    {
        if (result.valid())
            return;
        EXPECT_FALSE(result.error().empty()) << label;
        EXPECT_NE(result.error(), "Unknown error") << label;
    }

    std::string wellFormed() const
    {
        return "{MRVDS1}\n" + pathsBlock() +
               "system { rowrate = 20; }\n"
               "graphics { logo = logo.png; }\n"
               "b1 * BlendEffect {\n  shader = graphics[logo];\n  mode = multiply;\n  opacity = 0.5;\n}\n"
               "f1 * FadeEffect { speed = 2.0; }\n";
    }
};

std::string randomBytes(std::mt19937& random, size_t length)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(length, '\0');
    for (char& c : bytes)
        c = static_cast<char>(byte(random));
    return bytes;
}
}

TEST_F(DemoScriptParserMalformedTest, ShapesThatMustFail)
{
    const std::string header = "{MRVDS1}\n";
    const std::string longLine(1 << 20, 'x');
    std::string manyWords = header + "graphics { ";
    for (int i = 0; i < 20000; ++i)
        manyWords += "w ";
    manyWords += "= 1; }";

    const std::vector<std::string> inputs = {
        "",
        std::string(64, '\0'),
        std::string("{MRVDS1}\0{", 10),
        std::string("{MRVDS1\0}", 9),
        "{MRVDS1",
        "{MRVDS1}{",
        "{MRVDS1}}",
        "{MRVDS1}a{",
        "{MRVDS1}a{b",
        "{MRVDS1}a{b=1;}}",
        "{MRVDS1}a{b=1;}{",
        std::string(100000, '{'),
        std::string(100000, '}'),
        header + std::string(100000, '{'),
        header + "a" + std::string(50000, '{') + std::string(50000, '}'),
        header + "graphics { a = " + longLine + "=1; }",
        header + "graphics { " + longLine + " }",
        header + longLine,
        header + "graphics { a = 1 }" + longLine,
        header + "graphics {" + std::string(100000, '=') + "}",
        header + "graphics {" + std::string(100000, ';') + "a }",
        manyWords,
        header + "* { a = 1; }",
        header + "a * { x = 1; }",
        header + "a * B * C { x = 1; }",
        header + "paths { definition = ; }",
        header + "paths { definition = /nonexistent/; }",
        header + pathsBlock() + "b1 * BlendEffect { shader = [[[]]]; }",
        header + pathsBlock() + "b1 * BlendEffect { shader = ][; }",
        header + pathsBlock() + "b1 * BlendEffect { shader = " + longLine + "[" + longLine + "]; }",
        header + pathsBlock() + std::string("b1 * BlendEffect { count = 1\0 2; }", 34),
    };
    for (size_t i = 0; i < inputs.size(); ++i)
    {
        ParseResult result = parse(inputs[i]);
        EXPECT_FALSE(result.valid()) << "input " << i;
        expectExplained(result, "input " + std::to_string(i));
    }
}

TEST_F(DemoScriptParserMalformedTest, EveryTruncationEndsCleanly)
{
    const std::string script = wellFormed();
    ASSERT_TRUE(parse(script).valid());
    int failures = 0;
    for (size_t length = 0; length < script.size(); ++length)
    {
        ParseResult result = parse(script.substr(0, length));
        expectExplained(result, "length " + std::to_string(length));
        failures += result.valid() ? 0 : 1;
        // Cut inside a block: its "{" is never closed.
        if (length > 9 && script[length - 1] == '{')
        {
            EXPECT_FALSE(result.valid()) << "length " << length;
        }
    }
    EXPECT_GT(failures, 0);
}

TEST_F(DemoScriptParserMalformedTest, RandomBytesAndMutatedScriptsEndCleanly)
{
    std::mt19937 random(20240611u);
    for (int round = 0; round < 150; ++round)
    {
        ParseResult result = parse(randomBytes(random, static_cast<size_t>(random() % 2048)));
        expectExplained(result, "random " + std::to_string(round));
        ParseResult prefixed = parse("{MRVDS1}\n" + randomBytes(random, static_cast<size_t>(random() % 2048)));
        expectExplained(prefixed, "prefixed " + std::to_string(round));
    }

    const std::string script = wellFormed();
    const std::string specials("{}[]=;*/\r\n\0 ", 12);
    for (int round = 0; round < 300; ++round)
    {
        std::string mutated = script;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips)
            mutated[random() % mutated.size()] = specials[random() % specials.size()];
        expectExplained(parse(mutated), "mutated " + std::to_string(round) + ": " + mutated);
    }
}

TEST_F(DemoScriptParserMalformedTest, MalformedDefinitionFilesEndCleanly)
{
    std::mt19937 random(77u);
    std::vector<std::string> definitions = {
        "",
        std::string(32, '\0'),
        "{",
        "}",
        "parameters {",
        "parameters { a [type=int",
        "parameters { a [[[[[[ ]]]]]] ; }",
        "parameters { [=] [==] [===]; }",
        "methods { f(((((; g)))))(; }",
        "methods { (,,,,); }",
        "parameters { } methods { }",
        std::string(100000, '{') + "parameters",
        "parameters {" + std::string(1 << 20, '[') + "}",
        "methods { f(" + std::string(200000, ',') + "); }",
    };
    for (int i = 0; i < 50; ++i)
        definitions.push_back(randomBytes(random, static_cast<size_t>(random() % 1024)));

    for (size_t i = 0; i < definitions.size(); ++i)
    {
        const std::string file = dir.write("Garbage.def", definitions[i]);
        EffectDefinitionParser parser(file);
        std::unique_ptr<EffectDefinition> definition(parser.parse());
        EXPECT_EQ(parser.isValid(), definition != nullptr) << "definition " << i;
        if (!definition)
        {
            EXPECT_FALSE(parser.getErrorMessage().empty()) << "definition " << i;
        }

        writeDefinition("BlendEffect", definitions[i]);
        ParseResult result = parseWithPaths("b1 * BlendEffect { count = 1; }\n");
        expectExplained(result, "script with definition " + std::to_string(i));
    }
}
