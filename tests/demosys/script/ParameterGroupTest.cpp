#include "demosys/script/ParameterGroup.h"

#include <gtest/gtest.h>

TEST(ParameterGroupTest, NameDefaultsToParametersAndCanBeChanged)
{
    ParameterGroup unnamed;
    EXPECT_EQ(unnamed.getGroupName(), "parameters");
    ParameterGroup named("system");
    EXPECT_EQ(named.getGroupName(), "system");
    named.setGroupName("sound");
    EXPECT_EQ(named.getGroupName(), "sound");
}

TEST(ParameterGroupTest, LookupOfAbsentKeyReturnsEmptyWithoutInserting)
{
    ParameterGroup group("g");
    group.addParameter("present", "1");
    EXPECT_EQ(group.getParameter("absent"), "");
    EXPECT_FALSE(group.exist("absent"));
    EXPECT_EQ(group.size(), 1);
    EXPECT_TRUE(group.exist("present"));
    EXPECT_EQ(group.getParameter("present"), "1");
}

TEST(ParameterGroupTest, AddingAnExistingKeyReplacesTheValue)
{
    ParameterGroup group("g");
    group.addParameter("a", "1");
    group.addParameter("a", "2");
    EXPECT_EQ(group.size(), 1);
    EXPECT_EQ(group.getParameter("a"), "2");
}

TEST(ParameterGroupTest, KeysAreCaseSensitive)
{
    ParameterGroup group("g");
    group.addParameter("Mode", "x");
    EXPECT_FALSE(group.exist("mode"));
    EXPECT_EQ(group.getParameter("MODE"), "");
}

TEST(ParameterGroupTest, IndexOrderIsByteOrderOfKeys)
{
    ParameterGroup group("g");
    group.addParameter("alpha", "a");
    group.addParameter("9", "nine");
    group.addParameter("Zoom", "z");
    group.addParameter("10", "ten");

    ASSERT_EQ(group.size(), 4);
    EXPECT_EQ(group.getKey(0), "10");
    EXPECT_EQ(group.getKey(1), "9");
    EXPECT_EQ(group.getKey(2), "Zoom");
    EXPECT_EQ(group.getKey(3), "alpha");
    EXPECT_EQ(group.getValue(0), "ten");
    EXPECT_EQ(group.getValue(3), "a");

    std::string walked;
    for (const auto& entry : group.getEntries())
        walked += entry.first + ",";
    EXPECT_EQ(walked, "10,9,Zoom,alpha,");
}

TEST(ParameterGroupTest, IndexOutsideTheEntriesAnswersEmpty)
{
    ParameterGroup group("g");
    EXPECT_EQ(group.getKey(0), "");
    group.addParameter("k", "v");
    EXPECT_EQ(group.getKey(-1), "");
    EXPECT_EQ(group.getKey(1), "");
    EXPECT_EQ(group.getValue(1), "");
}

TEST(ParameterGroupTest, TextFormIsTheBlockSyntax)
{
    ParameterGroup empty("system");
    EXPECT_EQ(empty.toString(), "ParameterGroup{ EMPTY }\n");

    ParameterGroup system("system");
    system.addParameter("stop", "5");
    system.addParameter("rowrate", "20");
    EXPECT_EQ(system.toString(), "system {\n    rowrate = 20;\n    stop = 5;\n}\n");
}

TEST(ParameterGroupTest, EmptyKeysAndValuesAreKept)
{
    ParameterGroup group("decl");
    group.addParameter("", "");
    EXPECT_TRUE(group.exist(""));
    EXPECT_EQ(group.size(), 1);
    EXPECT_EQ(group.toString(), "decl {\n     = ;\n}\n");
}
