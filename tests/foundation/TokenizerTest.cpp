#include "foundation/StrList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(const char* text, const char* delimiters)
{
    CStrList list;
    const uint32_t count = CStr(text).Split(delimiters, list);
    std::vector<std::string> words;
    for (uint32_t i = 0; i < list.GetCount(); ++i)
        words.push_back(list.GetAt(i)->data);
    EXPECT_EQ(count, words.size());
    return words;
}

using W = std::vector<std::string>;

}  // namespace

TEST(Split, DelimiterRunsOnlySeparate)
{
    EXPECT_EQ(Words("/QUIET", "/|"), W{"QUIET"});
    EXPECT_EQ(Words("a//b|c", "/|"), (W{"a", "b", "c"}));
    EXPECT_EQ(Words("", "/|"), W{});
    EXPECT_EQ(Words("/|/", "/|"), W{});
    EXPECT_EQ(Words("||x||", "|/"), W{"x"});
    EXPECT_EQ(Words("key==value", "="), (W{"key", "value"}));
    EXPECT_EQ(Words(" \"a/b\" ", "/"), (W{" \"a", "b\" "}));   // no quoting
    EXPECT_EQ(Words("whole", ""), W{"whole"});
}

TEST(Split, LeavesTheTextAndReplacesTheListsContent)
{
    CStrList list;
    list.Append("stale");
    const CStr text("a/b");
    text.Split("/", list);
    EXPECT_STREQ(text.data, "a/b");
    ASSERT_EQ(list.GetCount(), 2u);
    EXPECT_STREQ(list.GetAt(0)->data, "a");
}

TEST(Split, KeepsLongWordsWhole)
{
    const std::string longWord(5000, 'w');
    EXPECT_EQ(Words(("/" + longWord + "|x").c_str(), "/|"), (W{longWord, "x"}));
}

TEST(KeyValue, ParseSplitsOnlyIntoExactlyTwoTrimmedPieces)
{
    struct Case { const char* word; const char* key; const char* value; };
    const Case cases[] = {
        {" mode = fast ", "MODE", "fast"},
        {"a=b=c", "A=B=C", ""},
        {"quiet", "QUIET", ""},
        {"QUIET=", "QUIET=", ""},
        {"=x", "=X", ""},
        {"key==value", "KEY", "value"},
        {"QUIET X", "QUIET X", ""},
        {" spaced ", " SPACED ", ""},   // one piece: untrimmed
    };
    for (const Case& c : cases) {
        const CKeyValue pair{CStr(c.word)};
        EXPECT_STREQ(pair.key.data, c.key) << c.word;
        EXPECT_STREQ(pair.value.data, c.value) << c.word;
        EXPECT_STREQ(pair.GetKey().data, c.key) << c.word;
    }
}

TEST(KeyValue, ParseOfOnePieceKeepsTheEarlierValue)
{
    CKeyValue pair{CStr("a=1")};
    pair.Parse("b");
    EXPECT_STREQ(pair.key.data, "B");
    EXPECT_STREQ(pair.value.data, "1");
}

TEST(KeyValue, CommandLineWordsBecomeSwitchesInOrder)
{
    // What the application does with its command line.
    CStrList words;
    CStr("/a = b|/c").Split("/|", words);
    CKeyValueList switches;
    while (words.GetCount() != 0) {
        switches.Append(CKeyValue(words.GetAt(0)->TrimLeft().TrimRight()));
        words.RemoveAt(0);
    }
    ASSERT_EQ(switches.GetCount(), 2u);
    EXPECT_STREQ(switches.GetAt(0)->key.data, "A");
    EXPECT_STREQ(switches.GetAt(0)->value.data, "b");
    EXPECT_STREQ(switches.GetAt(1)->key.data, "C");
    EXPECT_STREQ(switches.GetAt(1)->value.data, "");
}
