#include "demosys/script/ParameterGroup.h"
#include "demosys/script/Parameters.h"

#include <gtest/gtest.h>

static ParameterGroup* groupWith(const std::string& name, const std::string& key, const std::string& value)
{
    ParameterGroup* group = new ParameterGroup(name);
    group->addParameter(key, value);
    return group;
}

TEST(ParametersTest, AddGroupRenamesTheGroupToItsKey)
{
    Parameters set;
    ParameterGroup* group = new ParameterGroup("paths");
    set.addGroup("system", group);
    EXPECT_EQ(group->getGroupName(), "system");
    EXPECT_TRUE(set.exist("system"));
    EXPECT_FALSE(set.exist("paths"));
    EXPECT_EQ(set.getGroup("system"), group);
}

TEST(ParametersTest, LookupOfAbsentNameReturnsNullWithoutInserting)
{
    Parameters set;
    set.addGroup("a", new ParameterGroup());
    EXPECT_EQ(set.getGroup("b"), nullptr);
    EXPECT_EQ(set.size(), 1);
    EXPECT_FALSE(set.exist("b"));
}

// The replaced group is owned by nobody else; the leak checker of the
// sanitizer build catches it if the set drops it without deleting.
TEST(ParametersTest, AddingUnderAnExistingNameReplacesTheGroup)
{
    Parameters set;
    set.addGroup("sys", groupWith("x", "a", "1"));
    ParameterGroup* second = groupWith("y", "b", "2");
    set.addGroup("sys", second);
    EXPECT_EQ(set.size(), 1);
    EXPECT_EQ(set.getGroup("sys"), second);
    EXPECT_EQ(set.getGroup("sys")->getParameter("a"), "");

    set.addGroup("sys", second);
    EXPECT_EQ(set.getGroup("sys"), second);
    EXPECT_EQ(second->getParameter("b"), "2");
}

TEST(ParametersTest, NullGroupIsIgnored)
{
    Parameters set;
    set.addGroup("a", nullptr);
    EXPECT_EQ(set.size(), 0);
    EXPECT_FALSE(set.exist("a"));
}

TEST(ParametersTest, IndexAccessFollowsNameOrderAndIsChecked)
{
    Parameters set;
    set.addGroup("b", new ParameterGroup());
    set.addGroup("a", new ParameterGroup());
    set.addGroup("C", new ParameterGroup());
    EXPECT_EQ(set.getKey(0), "C");
    EXPECT_EQ(set.getKey(1), "a");
    EXPECT_EQ(set.getKey(2), "b");
    EXPECT_EQ(set.getValue(1), set.getGroup("a"));
    EXPECT_EQ(set.getKey(3), "");
    EXPECT_EQ(set.getKey(-1), "");
    EXPECT_EQ(set.getValue(3), nullptr);
}

TEST(ParametersTest, TextFormConcatenatesGroupsInNameOrder)
{
    Parameters set;
    EXPECT_EQ(set.toString(), "");
    set.addGroup("sound", groupWith("", "play", "1"));
    set.addGroup("empty", new ParameterGroup());
    set.addGroup("paths", groupWith("", "definition", "defs/"));
    EXPECT_EQ(set.toString(), "ParameterGroup{ EMPTY }\n"
                              "paths {\n    definition = defs/;\n}\n"
                              "sound {\n    play = 1;\n}\n");
}
