#include "app/IdentifierStore.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchKey.h"
#include "tests/support/Thrown.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

// These tests work on the identifier's real place in the test prefix's registry. Generating
// pauses up to a second, so each test generates at most once or twice.

namespace {

const char kParentKey[] = "Nimbra.Agent.QRM";
const char kIdentifierKey[] = "Nimbra.Agent.QRM\\GUID";
const char kSomeIdentifier[] = "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF2}";

struct StoredValue {
    bool present = false;
    DWORD type = REG_NONE;
    std::string text;   // up to the first zero byte
};

StoredValue ReadStored()
{
    StoredValue stored;
    char buffer[256] = {};
    DWORD size = sizeof buffer - 1;
    stored.present = RegGetValueA(HKEY_CLASSES_ROOT, kIdentifierKey, nullptr, RRF_RT_ANY | RRF_NOEXPAND,
                                  &stored.type, buffer, &size) == ERROR_SUCCESS;
    stored.text = buffer;
    return stored;
}

bool KeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kIdentifierKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every test starts with no key at all and leaves none behind.
class IdentifierStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ScratchKey::DeleteTree(HKEY_CLASSES_ROOT, kParentKey); }
    void TearDown() override { ScratchKey::DeleteTree(HKEY_CLASSES_ROOT, kParentKey); }

    const CIdentifierStore store{};
};

}  // namespace

TEST_F(IdentifierStoreTest, MissingKeyIsCreatedWithAFreshIdentifierThatLaterCallsReturn)
{
    ASSERT_FALSE(KeyExists());
    const std::string made = store.GetOrCreate().data;
    EXPECT_TRUE(HasIdentifierShape(made)) << made;
    const StoredValue stored = ReadStored();
    EXPECT_TRUE(stored.present);
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored.text, made);

    // A fresh identifier would carry a later time: the same text means nothing was generated.
    EXPECT_EQ(std::string(store.GetOrCreate().data), made);
    EXPECT_EQ(ReadStored().text, made);
}

TEST_F(IdentifierStoreTest, UnusableValuesAreReplacedByAStoredIdentifier)
{
    const DWORD number = 42;
    const struct {
        const char* name;
        DWORD type;
        const void* data;
        DWORD size;
    } cases[] = {
        {"empty text", REG_SZ, "", 1},
        {"number", REG_DWORD, &number, sizeof number},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey};
        key.SetRaw("", c.type, c.data, c.size);
        const std::string made = store.GetOrCreate().data;
        EXPECT_TRUE(HasIdentifierShape(made)) << made;
        const StoredValue stored = ReadStored();
        EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(stored.text, made);
    }
}

TEST_F(IdentifierStoreTest, AnyStoredTextIsReturnedAsItIs)
{
    for (const char* text : {"x y", " ", kSomeIdentifier}) {
        SCOPED_TRACE(text);
        ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey};
        key.SetRaw("", REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
        EXPECT_STREQ(store.GetOrCreate().data, text);
        EXPECT_EQ(ReadStored().text, text);
    }
}

TEST_F(IdentifierStoreTest, DeletingNothingSucceedsAndKeepsOrMakesTheKey)
{
    store.Delete();   // no key at all
    EXPECT_TRUE(KeyExists());
    EXPECT_FALSE(ReadStored().present);
    store.Delete();   // a key without the value
    EXPECT_TRUE(KeyExists());
}

TEST_F(IdentifierStoreTest, DeleteThenGetOrCreateStoresAFreshIdentifierInThePlaceOfTheOld)
{
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    store.Delete();
    EXPECT_FALSE(ReadStored().present);
    EXPECT_TRUE(KeyExists());

    const std::string fresh = store.GetOrCreate().data;
    EXPECT_TRUE(HasIdentifierShape(fresh)) << fresh;
    EXPECT_NE(fresh, kSomeIdentifier);
    EXPECT_EQ(ReadStored().text, fresh);
}

TEST_F(IdentifierStoreTest, AKeyThatCannotBeWrittenFailsCreatingAndDeleting)
{
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey};
    key.MakeReadOnly();
    for (const CStructException& e : {Thrown([&] { store.GetOrCreate(); }), Thrown([&] { store.Delete(); })}) {
        EXPECT_EQ(e.code, ERROR_ACCESS_DENIED);
        EXPECT_STREQ(e.source.data, "SYSTEM");
        EXPECT_STREQ(e.GetMessage().data, "Registry: Creating key. \n");
    }
    EXPECT_FALSE(ReadStored().present);
}

// A user who may read the key but not write it gets what is stored, and nothing is generated.
TEST_F(IdentifierStoreTest, AKeyThatCannotBeWrittenStillGivesTheStoredIdentifier)
{
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    key.MakeReadOnly();
    EXPECT_STREQ(store.GetOrCreate().data, kSomeIdentifier);
    EXPECT_EQ(Thrown([&] { store.Delete(); }).code, ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadStored().text, kSomeIdentifier);
}
