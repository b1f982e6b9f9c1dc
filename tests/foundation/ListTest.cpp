#include "foundation/StrList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {


void Fill(CStrList& list, std::initializer_list<const char*> texts)
{
    for (const char* text : texts)
        list.Append(text);
}

std::vector<std::string> Items(CStrList& list)
{
    std::vector<std::string> items;
    for (uint32_t i = 0; i < list.GetCount(); ++i)
        items.push_back(list.GetAt(i)->data);
    return items;
}

// Counts copies, and can be told to fail the next one.
struct Tracked {
    static int live;
    static bool failNextCopy;
    int value;
    explicit Tracked(int v) : value(v) { ++live; }
    Tracked(const Tracked& other) : value(other.value)
    {
        if (failNextCopy) {
            failNextCopy = false;
            throw std::bad_alloc();
        }
        ++live;
    }
    ~Tracked() { --live; }
};
int Tracked::live = 0;
bool Tracked::failNextCopy = false;

}  // namespace

TEST(List, AppendStoresCopiesAndPutsTheCursorOnTheNewItem)
{
    CStrList list;
    CStr word("first");
    list.Append(word);
    word = "changed";
    list.Append("second");
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(list.GetCursorIndex(), 1u);
    EXPECT_STREQ(list.GetCursorItem()->data, "second");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"first", "second"}));
}

TEST(List, GetAtMovesTheCursorAndHandsOutTheStoredItem)
{
    CStrList list;
    Fill(list, {"a", "b", "c", "d", "e"});
    for (uint32_t i : {0u, 1u, 2u, 4u, 3u, 0u, 2u, 1u}) {
        CStr* item = list.GetAt(i);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(std::string(item->data), std::string(1, static_cast<char>('a' + i)));
        EXPECT_EQ(list.GetCursorIndex(), i);
        EXPECT_EQ(list.GetCursorItem(), item);
    }
    list.GetAt(2)->MakeUpper();
    EXPECT_STREQ(list.GetAt(2)->data, "C");
    EXPECT_EQ(list.GetAt(5), nullptr);
    EXPECT_EQ(list.GetCursorIndex(), 2u);   // a miss leaves the cursor alone
}

TEST(List, RemoveAtKeepsTheCursorOnALiveNode)
{
    struct Case {
        uint32_t removed;
        std::vector<std::string> left;
        uint32_t cursorIndex;
    };
    const Case cases[] = {
        {0, {"b", "c"}, 0},   // the head: cursor on the new head
        {1, {"a", "c"}, 0},   // the middle: cursor on the one before
        {2, {"a", "b"}, 1},   // the tail: cursor on the new tail
    };
    for (const Case& c : cases) {
        CStrList list;
        Fill(list, {"a", "b", "c"});
        list.GetAt(0);
        list.RemoveAt(c.removed);
        EXPECT_EQ(list.GetCount(), 2u);
        EXPECT_EQ(list.GetCursorIndex(), c.cursorIndex) << "removed " << c.removed;
        ASSERT_NE(list.GetCursorItem(), nullptr);
        EXPECT_EQ(std::string(list.GetCursorItem()->data), c.left[c.cursorIndex]) << "removed " << c.removed;
        EXPECT_EQ(Items(list), c.left) << "removed " << c.removed;
        list.Append("z");   // the links still hold at both ends
        EXPECT_STREQ(list.GetAt(2)->data, "z");
        EXPECT_STREQ(list.GetAt(0)->data, c.left[0].c_str());
    }
}

TEST(List, ConsumedFromTheFrontItEndsEmpty)
{
    CStrList list;
    Fill(list, {"a", "b", "c", "d"});
    std::string seen;
    while (list.GetCount() != 0) {
        seen += list.GetAt(0)->data;
        list.RemoveAt(0);
    }
    EXPECT_EQ(seen, "abcd");
    EXPECT_EQ(list.GetCursorItem(), nullptr);
    EXPECT_EQ(list.GetCursorIndex(), 0u);
    EXPECT_EQ(list.GetAt(0), nullptr);
    list.RemoveAt(0);   // nothing to remove
    list.Append("again");
    EXPECT_EQ(Items(list), std::vector<std::string>{"again"});
}

TEST(List, OwnsItsItemsAndFreesThemAll)
{
    {
        CList<Tracked> list;
        for (int i = 0; i < 5; ++i)
            list.Append(Tracked(i));
        EXPECT_EQ(Tracked::live, 5);
        list.RemoveAt(2);
        EXPECT_EQ(Tracked::live, 4);
        list.RemoveAt(7);
        EXPECT_EQ(Tracked::live, 4);
    }
    EXPECT_EQ(Tracked::live, 0);
}

TEST(List, FailedItemCopyReachesTheCallerAndAddsNothing)
{
    CList<Tracked> list;
    list.Append(Tracked(1));
    Tracked::failNextCopy = true;
    EXPECT_THROW(list.Append(Tracked(2)), std::bad_alloc);
    EXPECT_EQ(list.GetCount(), 1u);
    EXPECT_EQ(list.GetAt(0)->value, 1);
    EXPECT_EQ(list.GetAt(1), nullptr);
}
