// The identifier's registry value in odd shapes, among random values and subkeys of the
// suite's key. GetOrCreate returns a non-empty REG_SZ or REG_EXPAND_SZ text as it stands (up
// to its first zero byte) and replaces anything else by a fresh REG_SZ identifier; it writes
// nothing but that identifier, which a snapshot of the whole key tree before and after shows.
// Generating pauses up to a second, so the shapes are a table, not thousands.

#include "app/FixedTexts.h"
#include "app/IdentifierStore.h"
#include "foundation/RegistryKey.h"
#include "tests/robustness/Fuzz.h"
#include "tests/robustness/RegistrySnapshot.h"
#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchKey.h"
#include "tools/driver/ToolState.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

RegistryTree SuiteTree()
{
    return ReadTree(HKEY_CLASSES_ROOT, Wide(e2e::IdentifierParentKey()), kRegistryView32);
}

void SetRaw(const std::string& path, const char* name, DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kRegistryView32, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS) << path;
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS) << path << " " << name;
    RegCloseKey(key);
}

// Values and subkeys around the identifier that GetOrCreate must leave alone: the suite
// key's own default value, named values beside the identifier (one named like its key), a
// subkey of the identifier's key with a default value of its own, and a sibling key.
void FillNeighbours(FuzzRandom& random)
{
    static const DWORD types[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ};
    const auto randomValue = [&random](const std::string& path, const char* name) {
        SetRaw(path, name, random.Pick(types), random.NonZero(random.Below(100)));
    };
    const std::string suite = e2e::IdentifierParentKey();
    const std::string identifier = kIdentifierKey;
    randomValue(suite, "");
    randomValue(suite, "Version");
    randomValue(identifier, "GUID");
    randomValue(identifier, "Previous");
    randomValue(identifier + "\\GUID", "");
    randomValue(identifier + "\\GUID", "Inner");
    randomValue(suite + "\\CLSID", "");
    if (random.OneIn(2))
        randomValue(suite + "\\CLSID\\" + random.From("abc", 4), "x");
}

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The keys and values in which two trees differ, for the failure message.
std::string Differences(const RegistryTree& before, const RegistryTree& after)
{
    std::string text;
    for (const auto& key : after)
        if (!before.count(key.first))
            text += " new key " + Narrow(key.first) + ";";
    for (const auto& key : before) {
        const auto other = after.find(key.first);
        if (other == after.end()) {
            text += " lost key " + Narrow(key.first) + ";";
            continue;
        }
        for (const auto& value : key.second)
            if (!other->second.count(value.first) || other->second.at(value.first) != value.second)
                text += " changed or lost " + Narrow(key.first) + " \"" + Narrow(value.first) + "\";";
        for (const auto& value : other->second)
            if (!key.second.count(value.first))
                text += " new value " + Narrow(key.first) + " \"" + Narrow(value.first) + "\";";
    }
    return text;
}

struct Shape {
    const char* name;
    DWORD type;
    std::string bytes;
    const char* kept;   // the text GetOrCreate returns as stored; null when it must make one
};

// The identifier's value as the narrow calls read it: its type and its text up to the first
// zero byte.
std::pair<DWORD, std::string> StoredIdentifier()
{
    std::string bytes(256, '\0');
    DWORD size = static_cast<DWORD>(bytes.size() - 1);
    DWORD type = REG_NONE;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, kIdentifierKey, 0, KEY_QUERY_VALUE | kRegistryView32, &key) == ERROR_SUCCESS) {
        if (RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size) != ERROR_SUCCESS)
            type = REG_NONE;
        RegCloseKey(key);
    }
    return {type, bytes.c_str()};
}

}  // namespace

TEST(IdentifierStoreFuzz, OddlyShapedIdentifierValuesAreKeptOrReplacedAndNothingElseIsWritten)
{
    std::string everyByte;
    for (int i = 1; i < 256; ++i)
        everyByte += static_cast<char>(i);
    const std::string big(64 * 1024, 'g');
    FuzzRandom random(1);
    const Shape shapes[] = {
        {"binary 1 MB", REG_BINARY, random.From(everyByte + '\0', 1 << 20), nullptr},
        {"multi-string", REG_MULTI_SZ, Bytes("one\0two\0\0", 9), nullptr},
        {"dword", REG_DWORD, Bytes("\x2A\0\0\0", 4), nullptr},
        {"zero length", REG_SZ, "", nullptr},
        {"text with a zero first", REG_SZ, Bytes("\0abc\0", 5), nullptr},
        {"text without terminator", REG_SZ, "abc", "abc"},
        {"text with a zero inside", REG_SZ, Bytes("ab\0cd\0", 6), "ab"},
        {"expandable", REG_EXPAND_SZ, Bytes("%TEMP%\\x\0", 9), "%TEMP%\\x"},
        {"text 64 KB", REG_SZ, big, big.c_str()},
        {"text of every byte", REG_SZ, everyByte, everyByte.c_str()},
        {"one blank", REG_SZ, Bytes(" \0", 2), " "},
    };
    for (uint32_t seed : FuzzSeeds(500, 1)) {
        for (uint32_t step = 0; step < sizeof shapes / sizeof shapes[0]; ++step) {
            const Shape& shape = shapes[step];
            const std::string where = FuzzWhere(seed, step) + ", " + shape.name;
            const ScratchKey suite(HKEY_CLASSES_ROOT, e2e::IdentifierParentKey(), kRegistryView32);
            FuzzRandom neighbours(seed * 100 + step);
            FillNeighbours(neighbours);
            SetRaw(kIdentifierKey, "", shape.type, shape.bytes);
            RegistryTree before = SuiteTree();

            const std::string got = CIdentifierStore().GetOrCreate().data;

            RegistryTree after = SuiteTree();
            if (shape.kept) {
                EXPECT_TRUE(got == shape.kept) << where << ": got " << got.size() << " bytes \"" << got.substr(0, 40) << "\"";
            } else {
                EXPECT_TRUE(HasIdentifierShape(got)) << where << ": \"" << got.substr(0, 80) << "\"";
                const auto stored = StoredIdentifier();
                EXPECT_EQ(stored.first, static_cast<DWORD>(REG_SZ)) << where;
                EXPECT_EQ(stored.second, got) << where;
                // Beside the identifier itself, nothing may change.
                before[Wide(kIdentifierKey)].erase(L"");
                after[Wide(kIdentifierKey)].erase(L"");
            }
            EXPECT_TRUE(after == before) << where << ":" << Differences(before, after);
            if (HasFailure())
                return;
        }
    }
}
