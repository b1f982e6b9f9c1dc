#include "app/IdentifierDlg.h"
#include "app/IdentifierStore.h"
#include "app/ProcessObjects.h"
#include "app/res/ResourceIds.h"
#include "foundation/RegistryKey.h"
#include "foundation/StructException.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchKey.h"
#include "tests/support/Thrown.h"
#include "tools/driver/ToolState.h"

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
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kIdentifierKey, 0, KEY_QUERY_VALUE | kRegistryView32, &key) != ERROR_SUCCESS)
        return stored;
    stored.present = RegGetValueA(key, nullptr, nullptr, RRF_RT_ANY | RRF_NOEXPAND, &stored.type, buffer, &size) ==
                     ERROR_SUCCESS;
    RegCloseKey(key);
    stored.text = buffer;
    return stored;
}

bool KeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kIdentifierKey, 0, KEY_READ | kRegistryView32, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every test starts with no key at all and leaves none behind.
class IdentifierStoreTest : public ::testing::Test {
protected:
    void SetUp() override { e2e::DeleteKeyTree(HKEY_CLASSES_ROOT, kParentKey, kRegistryView32); }
    void TearDown() override { e2e::DeleteKeyTree(HKEY_CLASSES_ROOT, kParentKey, kRegistryView32); }

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
        ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
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
        ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
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
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    store.Delete();
    EXPECT_FALSE(ReadStored().present);
    EXPECT_TRUE(KeyExists());

    const std::string fresh = store.GetOrCreate().data;
    EXPECT_TRUE(HasIdentifierShape(fresh)) << fresh;
    EXPECT_NE(fresh, kSomeIdentifier);
    EXPECT_EQ(ReadStored().text, fresh);
}

// A change makes the new identifier while the old one is still stored, so that the machine is
// never without one for longer than it takes to replace it.
TEST_F(IdentifierStoreTest, AChangeGeneratesWhileTheOldIdentifierIsStillStored)
{
    class CWatchingStore : public CIdentifierStore {
    public:
        CStr Generate() const override
        {
            storedWhileGenerating = ReadStored().data;
            return "{fresh}";
        }
        mutable std::string storedWhileGenerating;
    } watching;
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    CRunOutcome outcome;
    CIdentifierDlg(watching, CSysPaths().SetPath("C:\\no collector here"), outcome).ChangeIdentifier();
    EXPECT_EQ(watching.storedWhileGenerating, kSomeIdentifier);
    EXPECT_EQ(ReadStored().text, "{fresh}");
}

TEST_F(IdentifierStoreTest, AKeyThatCannotBeWrittenFailsCreatingAndDeleting)
{
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
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
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    key.MakeReadOnly();
    EXPECT_STREQ(store.GetOrCreate().data, kSomeIdentifier);
    EXPECT_EQ(Thrown([&] { store.Delete(); }).code, ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadStored().text, kSomeIdentifier);
}

// What is stored may be the machine's identity: a failure to read it, other than nothing being
// stored, generates and writes nothing, and the dialog shows the empty text.
TEST_F(IdentifierStoreTest, AReadFailureOtherThanNothingStoredGeneratesAndWritesNothing)
{
    class CUnreadableStore : public CIdentifierStore {
    public:
        // Such as a value that grew while it was read (see CRegistryKey::GetString).
        CStr ReadStored() const override { RaiseSystemError(ERROR_MORE_DATA, "Registry: %s", "Reading value type 0. "); }
        CStr Generate() const override
        {
            ++generated;
            return kSomeIdentifier;
        }
        mutable int generated = 0;
    } unreadable;
    EXPECT_EQ(Thrown([&] { unreadable.GetOrCreate(); }).code, ERROR_MORE_DATA);
    CRunOutcome outcome;
    CIdentifierDlg dialog(unreadable, g_suiteFolder, outcome);
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    char shown[64] = "?";
    GetDlgItemTextA(dialog.handle, IDC_CURRENT_IDENTIFIER, shown, sizeof shown);
    EXPECT_STREQ(shown, "");
    EXPECT_EQ(unreadable.generated, 0);
    EXPECT_FALSE(KeyExists());

    // The store's own reading tells such a failure from nothing stored.
    const ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    key.MakeInaccessible();
    EXPECT_EQ(Thrown([&] { store.ReadStored(); }).code, ERROR_ACCESS_DENIED);
}

// Both builds use the 32-bit suite's identifier, also where the classes of 64-bit programs have
// one of their own (on a 64-bit system, where the two views are apart).
TEST_F(IdentifierStoreTest, TheIdentifierIsTheOneThe32BitSuiteSees)
{
    const ScratchKey otherView{HKEY_CLASSES_ROOT, kIdentifierKey, KEY_WOW64_64KEY};
    otherView.SetRaw("", REG_SZ, "{not the suite's}", 18);
    ScratchKey key{HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32};
    key.SetRaw("", REG_SZ, kSomeIdentifier, sizeof kSomeIdentifier);
    EXPECT_STREQ(store.GetOrCreate().data, kSomeIdentifier);
    store.Delete();
    EXPECT_FALSE(ReadStored().present);
}
