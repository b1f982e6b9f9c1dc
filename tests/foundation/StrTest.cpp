#include "foundation/Str.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const CStr& s) { return s.data ? s.data : "<no block>"; }

bool BlockIsZero(const CStr& s, uint32_t from)
{
    for (uint32_t i = from; i < s.capacity; ++i)
        if (s.data[i] != 0)
            return false;
    return true;
}

}  // namespace

TEST(StrBlock, DefaultStringHasAZeroFilled65ByteBlock)
{
    CStr s;
    ASSERT_NE(s.data, nullptr);
    EXPECT_EQ(s.capacity, 65u);
    EXPECT_TRUE(BlockIsZero(s, 0));
    EXPECT_EQ(s.GetLength(), 0u);
    EXPECT_EQ(s.EqualsNoCase(""), 1);
}

TEST(StrBlock, GrowsInStepsOf64CharactersAndNeverShrinks)
{
    CStr s;
    s = std::string(63, 'a').c_str();
    EXPECT_EQ(s.capacity, 65u);
    EXPECT_EQ(s.GetLength(), 63u);
    s = std::string(64, 'b').c_str();
    EXPECT_EQ(s.capacity, 129u);
    EXPECT_EQ(Text(s), std::string(64, 'b'));
    s = "short";
    EXPECT_EQ(s.capacity, 129u);
    EXPECT_EQ(Text(s), "short");
    EXPECT_TRUE(BlockIsZero(s, 5));   // the old text does not survive behind the new one
    s = std::string(191, 'c').c_str();
    EXPECT_EQ(s.capacity, 193u);
}

TEST(StrBlock, ReserveGivesAZeroFilledBlockForNPlusTwoCharacters)
{
    CStr s("some text");
    s.Reserve(200);
    EXPECT_EQ(s.capacity, 257u);   // (200 rounded down to 64s) + 65
    EXPECT_TRUE(BlockIsZero(s, 0));
}

TEST(StrBlock, WideStringBlocksCountTwoBytesACharacter)
{
    CWideStr empty;
    EXPECT_EQ(empty.capacity, 130u);
    EXPECT_EQ(empty.GetLength(), 0u);
    CWideStr wide;
    wide.AssignNarrow(std::string(63, 'w').c_str());   // 64 units with the terminator
    EXPECT_EQ(wide.capacity, 258u);
    EXPECT_EQ(wide.GetLength(), 63u);
    EXPECT_EQ(wide.data[0], L'w');
}

TEST(StrBlock, NullTextEmptiesTheStringAndKeepsItsBlock)
{
    CStr s("abc");
    char* block = s.data;
    s = static_cast<const char*>(nullptr);
    EXPECT_EQ(s.data, block);
    EXPECT_EQ(s.GetLength(), 0u);
    EXPECT_EQ(CStr(static_cast<const char*>(nullptr)).capacity, 65u);
}

TEST(StrBlock, ReleasedStringIsUnequalToEverythingAndUsableAgain)
{
    CStr s("abc");
    s.Release();
    EXPECT_EQ(s.data, nullptr);
    EXPECT_EQ(s.capacity, 0u);
    EXPECT_EQ(s.GetLength(), 0u);
    EXPECT_EQ(s.EqualsNoCase(""), 0);
    EXPECT_EQ(s.DiffersNoCase(""), 1);
    EXPECT_EQ(CStr("").EqualsNoCase(s), 0);

    // Every other operation takes the blockless state in its stride.
    s.MakeUpper().TrimLeft().TrimRight().RemoveAll("a");
    EXPECT_EQ(s.data, nullptr);
    EXPECT_EQ(Text(s.Mid(0, 5)), "");
    EXPECT_EQ(s.FindNoCase("a", 1), 0u);
    EXPECT_EQ(Text(s.Concat("x")), "x");
    EXPECT_EQ(Text(CStr("y").Concat(s)), "y");

    s = "back";
    EXPECT_EQ(s.capacity, 65u);
    EXPECT_EQ(Text(s), "back");
}

TEST(StrCompare, EqualsNoCaseFoldsAsciiLettersOnly)
{
    EXPECT_EQ(CStr("QUIET").EqualsNoCase("quiet"), 1);
    EXPECT_EQ(CStr("QUIET ").EqualsNoCase("quiet"), 0);
    EXPECT_EQ(CStr("QUIET").EqualsNoCase("QUIETLY"), 0);
    EXPECT_EQ(CStr("\xC9t\xE9").EqualsNoCase("\xE9T\xE9"), 0);   // bytes above 127 do not fold
    EXPECT_EQ(CStr("x").EqualsNoCase(static_cast<const char*>(nullptr)), 0);
    EXPECT_EQ(CStr("").EqualsNoCase(static_cast<const char*>(nullptr)), 1);
    EXPECT_EQ(CStr("x").DiffersNoCase(""), 1);
}

TEST(StrEdit, MakeUpperChangesAsciiLettersOnly)
{
    CStr s("ab\xE9z-09[`{");
    EXPECT_EQ(Text(s.MakeUpper()), "AB\xE9Z-09[`{");
}

TEST(StrEdit, TrimsWhiteSpaceOfTheCLocale)
{
    EXPECT_EQ(Text(CStr("   ").TrimLeft()), "");
    EXPECT_EQ(Text(CStr(" a \t\r\n").TrimRight()), " a");
    EXPECT_EQ(Text(CStr("\v\f x y ").TrimLeft()), "x y ");
    EXPECT_EQ(Text(CStr(" \xA0x\xA0").TrimLeft().TrimRight()), "\xA0x\xA0");
    EXPECT_EQ(Text(CStr(" \t ").TrimRight()), "");
}

TEST(StrEdit, RemoveAllRemovesOccurrencesThatRemovalsJoin)
{
    struct Case { const char* text; const char* pattern; const char* expected; };
    const Case cases[] = {
        {"aabb", "ab", ""},
        {"xaby", "ab", "xy"},
        {"abc", "", "abc"},
        {"(WIN)\\(WIN)", "(WIN)", "\\"},
        {"aAbB", "ab", "aAbB"},   // case-sensitive
        {"aaabbb", "ab", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(CStr(c.text).RemoveAll(c.pattern)), c.expected) << c.text << " - " << c.pattern;
}

TEST(StrEdit, RemoveAllOfTheStringItselfEmptiesIt)
{
    CStr s("abc");
    s.RemoveAll(s);   // the first removal empties the pattern as well
    EXPECT_EQ(Text(s), "");
}

TEST(StrEdit, RemoveAllOfAPatternWithoutABlockChangesNothing)
{
    CStr pattern("b");
    pattern.Release();
    CStr s("abc");
    s.RemoveAll(pattern);   // a null text, taken as the empty one
    EXPECT_EQ(Text(s), "abc");
}

TEST(StrCompose, ConcatAndAppend)
{
    EXPECT_EQ(Text(CStr("").Concat("x")), "x");
    EXPECT_EQ(Text(CStr("").Concat("")), "");
    const CStr left(std::string(40, 'l').c_str());
    const CStr joined = left.Concat(std::string(40, 'r').c_str());
    EXPECT_EQ(Text(joined), std::string(40, 'l') + std::string(40, 'r'));
    EXPECT_EQ(joined.capacity, 129u);
    EXPECT_EQ(Text(left), std::string(40, 'l'));   // Concat leaves the string alone
    CStr s("a");
    EXPECT_EQ(Text(s.Append("b").Append("c")), "abc");
}

TEST(StrCompose, MidTakesAnInclusiveRangeClippedToTheText)
{
    struct Case { const char* text; uint32_t first; uint32_t last; const char* expected; };
    const Case cases[] = {
        {"(S_WIN)", 3, 7, "WIN)"},
        {"abc", 5, 2, ""},
        {"abc", 1, 100, "bc"},
        {"abc", 3, 3, ""},
        {"abc", 0, 0, "a"},
        {"abc", 2, 1, ""},
        {"", 0, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Text(CStr(c.text).Mid(c.first, c.last)), c.expected) << c.text << " " << c.first << ".." << c.last;
}

TEST(StrSearch, FindNoCaseFindsTheNthPossiblyOverlappingOccurrence)
{
    struct Case { const char* text; const char* pattern; uint32_t n; uint32_t expected; };
    const Case cases[] = {
        {"(WIN)X", "(win)", 1, 0},
        {"banana", "a", 2, 3},
        {"banana", "a", 4, 6},     // not found: the length
        {"banana", "ANA", 2, 3},   // overlapping
        {"banana", "x", 1, 6},
        {"banana", "a", 0, 6},
        {"XPROG", "(PROG)", 1, 5},
        {"aaa", "aa", 2, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CStr(c.text).FindNoCase(c.pattern, c.n), c.expected) << c.text << " / " << c.pattern << " #" << c.n;
}

TEST(StrFormat, FormatsEveryCharacterAroundTheBlockSteps)
{
    for (size_t length : {0u, 1u, 62u, 63u, 64u, 65u, 127u, 128u, 1000u}) {
        const std::string expected = std::string(length, 'x');
        CStr s;
        s.Format("%s", expected.c_str());
        EXPECT_EQ(Text(s), expected) << length;
        EXPECT_EQ(s.capacity, (length & ~size_t{63}) + 65) << length;
    }
    EXPECT_EQ(Text(CStr().Format("%d|%5s|%08X|%c", -12, "ab", 0xBEEFu, 'z')), "-12|   ab|0000BEEF|z");
}

TEST(StrFormat, AcceptsTheStringsOwnTextAsAnArgument)
{
    CStr s("a ");
    s.Format("%s%s ", s.data, "b");
    EXPECT_EQ(Text(s), "a b ");
    CStr grown(std::string(60, 'g').c_str());
    grown.Format("%s%s", grown.data, grown.data);   // outgrows the block it reads from
    EXPECT_EQ(Text(grown), std::string(120, 'g'));
}

TEST(StrFormat, NullFormatLeavesTheStringUnchanged)
{
    CStr s("kept");
    s.Format(nullptr);
    EXPECT_EQ(Text(s), "kept");
}

TEST(StrEnvironment, ExpandsDefinedVariablesAndKeepsUndefinedOnes)
{
    ASSERT_TRUE(SetEnvironmentVariableA("VORTAG_TEST_VAR", "C:\\Suite"));
    SetEnvironmentVariableA("VORTAG_TEST_UNDEFINED", nullptr);
    const CStr source("%VORTAG_TEST_VAR%\\x;%VORTAG_TEST_UNDEFINED%;%%");
    EXPECT_EQ(Text(source.ExpandEnvironment()), "C:\\Suite\\x;%VORTAG_TEST_UNDEFINED%;%%");
    EXPECT_EQ(Text(source), "%VORTAG_TEST_VAR%\\x;%VORTAG_TEST_UNDEFINED%;%%");

    const std::string longValue(300, 'v');
    SetEnvironmentVariableA("VORTAG_TEST_VAR", longValue.c_str());
    EXPECT_EQ(Text(CStr("%VORTAG_TEST_VAR%").ExpandEnvironment()), longValue);
    SetEnvironmentVariableA("VORTAG_TEST_VAR", nullptr);
}

TEST(StrConvert, WideAndNarrowTextRoundTrip)
{
    CStr narrow;
    narrow.AssignWide(L"New GUID: ");
    EXPECT_EQ(Text(narrow), "New GUID: ");
    EXPECT_EQ(narrow.capacity, 65u);

    CWideStr wide;
    wide.AssignNarrow("GUID Actual:");
    EXPECT_EQ(std::wstring(wide.data), L"GUID Actual:");

    narrow.AssignWide(nullptr);
    EXPECT_EQ(Text(narrow), "");
    wide.AssignNarrow(nullptr);
    EXPECT_EQ(wide.GetLength(), 0u);

    const std::wstring longText(100, L'n');
    narrow.AssignWide(longText.c_str());
    EXPECT_EQ(Text(narrow), std::string(100, 'n'));
    EXPECT_EQ(narrow.capacity, 129u);
}

TEST(StrCopy, AssigningATextFromTheStringsOwnBlockKeepsIt)
{
    CStr s("(S_PROG)\\TOOLS");
    s = s.data + 3;
    EXPECT_EQ(Text(s), "PROG)\\TOOLS");
    s = s.data;
    EXPECT_EQ(Text(s), "PROG)\\TOOLS");
}

TEST(StrCopy, CopiesAreDeep)
{
    CStr original("one");
    CStr copy(original);
    CStr assigned;
    assigned = original;
    EXPECT_NE(copy.data, original.data);
    EXPECT_NE(assigned.data, original.data);
    original.MakeUpper();
    EXPECT_EQ(Text(copy), "one");
    EXPECT_EQ(Text(assigned), "one");
    assigned = assigned;   // self-assignment keeps the text
    EXPECT_EQ(Text(assigned), "one");
}
