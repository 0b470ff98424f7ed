#include "mrvutils/MRVUtils.h"
#include "mrvutils/StringTokenizer.h"
#include "mrvutils/StringUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> drain(StringTokenizer& t)
{
    std::vector<std::string> out;
    while (t.hasMoreTokens())
        out.push_back(t.getNext());
    return out;
}

using Tokens = std::vector<std::string>;

} // namespace

TEST(StringTokenizer, SplitsAtAnyDelimiterAndDropsEmptyTokens)
{
    StringTokenizer a("a,,b", ",");
    EXPECT_EQ(drain(a), (Tokens{ "a", "b" }));

    StringTokenizer b(" a , b ", ",");
    EXPECT_EQ(drain(b), (Tokens{ " a ", " b " })) << "tokens keep their blanks; callers trim";

    StringTokenizer c("a, ,b", ",");
    EXPECT_EQ(drain(c), (Tokens{ "a", "b" })) << "whitespace-only tokens vanish";

    StringTokenizer d("x=1;y=2", "=;");
    EXPECT_EQ(drain(d), (Tokens{ "x", "1", "y", "2" }));

    StringTokenizer spaces("one  two three");
    EXPECT_EQ(spaces.countTokens(), 3) << "the default delimiter is a space";
}

TEST(StringTokenizer, ReturnsDelimitersWhenAsked)
{
    StringTokenizer a("{X}", "{}", true);
    EXPECT_EQ(drain(a), (Tokens{ "{", "X", "}" }));

    StringTokenizer b("{ }", "{}", true);
    EXPECT_EQ(drain(b), (Tokens{ "{", "}" }));
}

TEST(StringTokenizer, EmptyInputsAndExhaustion)
{
    for (const char* text : { "", ",,,", " , \t,\r\n" })
    {
        StringTokenizer t(text, ",");
        EXPECT_EQ(t.countTokens(), 0) << text;
        EXPECT_FALSE(t.hasMoreTokens());
        EXPECT_EQ(t.getNext(), "");
    }

    StringTokenizer t("a b");
    EXPECT_EQ(t.getNext(), "a");
    EXPECT_TRUE(t.hasMoreTokens());
    EXPECT_EQ(t.getNext(), "b");
    EXPECT_FALSE(t.hasMoreTokens());
    EXPECT_EQ(t.getNext(), "");
    EXPECT_EQ(t.getNext(), "");
    EXPECT_EQ(t.countTokens(), 2) << "the total, not what remains";
}

TEST(StringTokenizer, SkippingTokens)
{
    StringTokenizer one("only");
    one.getNext(1);
    EXPECT_FALSE(one.hasMoreTokens());
    EXPECT_EQ(one.getNext(), "");

    StringTokenizer three("a b c");
    three.getNext(2);
    EXPECT_TRUE(three.hasMoreTokens());
    EXPECT_EQ(three.getNext(), "c");

    StringTokenizer past("a b");
    past.getNext(5);
    EXPECT_FALSE(past.hasMoreTokens());
    EXPECT_EQ(past.getNext(), "");
}

TEST(StringUtils, TrimRemovesOnlyTheFourWhitespaceCharacters)
{
    EXPECT_EQ(StringUtils::trim(" \t\r\nab c\n "), "ab c");
    EXPECT_EQ(StringUtils::trim("   "), "");
    EXPECT_EQ(StringUtils::trim(""), "");
    EXPECT_EQ(StringUtils::trim("\vx\f"), "\vx\f") << "vertical tab and form feed are not whitespace here";
    EXPECT_TRUE(StringUtils::charIsTrimable('\t'));
    EXPECT_FALSE(StringUtils::charIsTrimable('\v'));
}

TEST(StringUtils, NumberAndBoolPredicates)
{
    EXPECT_TRUE(StringUtils::isBool("true"));
    EXPECT_TRUE(StringUtils::isBool("false"));
    EXPECT_FALSE(StringUtils::isBool("True"));
    EXPECT_FALSE(StringUtils::isBool(" true"));

    EXPECT_TRUE(StringUtils::isInt("0"));
    EXPECT_TRUE(StringUtils::isInt("-42"));
    EXPECT_TRUE(StringUtils::isInt("-")) << "a lone minus counts as an integer";
    EXPECT_FALSE(StringUtils::isInt(""));
    EXPECT_FALSE(StringUtils::isInt("+5"));
    EXPECT_FALSE(StringUtils::isInt(" 5"));
    EXPECT_FALSE(StringUtils::isInt("5 "));
    EXPECT_FALSE(StringUtils::isInt("--5"));
    EXPECT_FALSE(StringUtils::isInt("1.0"));

    // "1..2" passes too: adjacent points yield no empty part between them.
    for (const char* yes : { "1.5", "-0.25", "10.0", "1.-5", "1..2" })
        EXPECT_TRUE(StringUtils::isFloat(yes)) << yes;
    for (const char* no : { "", "1", "1.", ".5", "1.2.3", "1e5", "1,5", "-", "a.b" })
        EXPECT_FALSE(StringUtils::isFloat(no)) << no;
}

TEST(MRVUtils, ConversionsFollowStreamFormatting)
{
    EXPECT_EQ(MRVUtils::int2string(-17), "-17");
    EXPECT_EQ(MRVUtils::uint2string(4000000000u), "4000000000");
    EXPECT_EQ(MRVUtils::float2string(0.5f), "0.5");
    EXPECT_EQ(MRVUtils::float2string(1.0f), "1");
    EXPECT_EQ(MRVUtils::float2string(1234567.0f), "1.23457e+06");
    EXPECT_EQ(MRVUtils::float2string(0.1f), "0.1");

    EXPECT_EQ(MRVUtils::string2Int("12abc"), 12);
    EXPECT_EQ(MRVUtils::string2Int("  -7"), -7);
    EXPECT_EQ(MRVUtils::string2Int("abc"), 0);
    EXPECT_FLOAT_EQ(MRVUtils::string2Float("2"), 2.0f);
    EXPECT_FLOAT_EQ(MRVUtils::string2Float(" -0.25xyz"), -0.25f);
    EXPECT_FLOAT_EQ(MRVUtils::string2Float(""), 0.0f);
}
