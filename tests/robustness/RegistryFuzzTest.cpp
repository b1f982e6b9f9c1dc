// Values of odd shapes and random values read through CRegistryKey. The registry's own
// answer (ScratchKey::ReadRaw) is the reference; reading must never write.

#include "foundation/RegistryKey.h"
#include "foundation/StructException.h"
#include "tests/robustness/Fuzz.h"
#include "tests/robustness/RegistrySnapshot.h"
#include "tests/support/ScratchKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const std::string kScratch = ScratchKeyPath("Robustness");

using Snapshot = RegistryValues;

Snapshot TakeSnapshot(const ScratchKey& scratch)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(scratch.Root(), scratch.Path().c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    const Snapshot values = ReadValues(key);
    RegCloseKey(key);
    return values;
}

bool AllAre(const std::string& bytes, size_t from, size_t to, char fill)
{
    return std::all_of(bytes.begin() + from, bytes.begin() + to, [fill](char c) { return c == fill; });
}

// GetString gives the text up to the first zero byte of a REG_SZ or REG_EXPAND_SZ value and
// the empty text for every other type; GetValue reads only into a buffer that fits and
// leaves a smaller one (and its type variable) untouched.
void ExpectReadsAsDocumented(CRegistryKey& key, const ScratchKey& scratch, FuzzRandom& random, const char* name,
                             const std::string& where)
{
    DWORD type = 0;
    std::string stored;
    ASSERT_TRUE(scratch.ReadRaw(name, type, stored)) << where;
    try {
        const std::string expected = type == REG_SZ || type == REG_EXPAND_SZ ? std::string(stored.c_str()) : "";
        const CStr text = key.GetString(name);
        ASSERT_NE(text.data, nullptr) << where;
        EXPECT_EQ(text.GetLength(), expected.size()) << where << ", type " << type;
        EXPECT_TRUE(text.data == expected) << where << ", type " << type;

        const DWORD size = key.GetValueSize(name);
        EXPECT_GE(size, stored.size()) << where;
        if (size == 0)
            return;
        const char fill = '\xA5';
        const DWORD untouchedType = 0x5A5A;
        std::string small(size + 16, fill);
        DWORD smallType = untouchedType;
        EXPECT_EQ(key.GetValue(name, smallType, reinterpret_cast<BYTE*>(&small[0]), random.Below(size)), size) << where;
        EXPECT_TRUE(AllAre(small, 0, small.size(), fill)) << where << ": a buffer too small was written";
        EXPECT_EQ(smallType, untouchedType) << where;

        // A buffer that fits gets the value and zeros up to its end, and nothing beyond.
        const DWORD bufferSize = size + random.Below(8);
        std::string fits(bufferSize + 16, fill);
        DWORD readType = untouchedType;
        const DWORD read = key.GetValue(name, readType, reinterpret_cast<BYTE*>(&fits[0]), bufferSize);
        EXPECT_EQ(readType, type) << where;
        ASSERT_LE(read, bufferSize) << where;
        EXPECT_TRUE(fits.compare(0, read, stored) == 0) << where << ": read " << read << " of " << stored.size();
        EXPECT_TRUE(AllAre(fits, read, bufferSize, '\0')) << where;
        EXPECT_TRUE(AllAre(fits, bufferSize, fits.size(), fill)) << where << ": written past the buffer";
    } catch (const CStructException& e) {
        ADD_FAILURE() << where << ", type " << type << ", " << stored.size() << " bytes: " << e.GetReport().data;
    }
}

// Opens the scratch key with full access, so that a stray write would go through and show in
// the snapshot, reads every name and compares the key's values before and after.
void ExpectAllReadAsDocumented(const ScratchKey& scratch, FuzzRandom& random, const std::vector<std::string>& names,
                               uint32_t seed)
{
    const Snapshot before = TakeSnapshot(scratch);
    ASSERT_FALSE(before.empty());
    CRegistryKey key;
    key.Open(scratch.Root(), scratch.Path().c_str(), 0, KEY_ALL_ACCESS);
    for (uint32_t step = 0; step < names.size() && !::testing::Test::HasFailure(); ++step)
        ExpectReadsAsDocumented(key, scratch, random, names[step].c_str(), FuzzWhere(seed, step) + ", value \"" + names[step] + "\"");
    key.Close();
    EXPECT_TRUE(TakeSnapshot(scratch) == before) << "seed " << seed << ": reading changed the key's values";
}

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }

}  // namespace

TEST(RegistryFuzz, OddlyShapedValuesReadAsDocumented)
{
    const ScratchKey scratch(HKEY_CURRENT_USER, kScratch);
    FuzzRandom random(1);
    std::string allBytes;
    for (int i = 0; i < 256; ++i)
        allBytes += static_cast<char>(i);
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } values[] = {
        {"binary 1 MB", REG_BINARY, random.From(allBytes, 1 << 20)},
        {"multi", REG_MULTI_SZ, Bytes("one\0two\0\0", 9)},
        {"multi without terminators", REG_MULTI_SZ, Bytes("one", 3)},
        {"text without terminator", REG_SZ, "abc"},
        {"text with a zero inside", REG_SZ, Bytes("ab\0cd\0", 6)},
        {"text of every byte", REG_SZ, allBytes.substr(1)},
        {"expandable", REG_EXPAND_SZ, Bytes("%TEMP%\\x\0", 9)},
        {"expandable without terminator", REG_EXPAND_SZ, "%TEMP%"},
        {"text 64 KB", REG_SZ, std::string(64 * 1024, 'g')},
        {"text 64 KB terminated", REG_SZ, std::string(64 * 1024 - 1, 'h') + '\0'},
        {"empty text", REG_SZ, ""},
        {"empty expandable", REG_EXPAND_SZ, ""},
        {"empty binary", REG_BINARY, ""},
        {"empty dword", REG_DWORD, ""},
        {"empty none", REG_NONE, ""},
        {"dword", REG_DWORD, Bytes("\x01\x00\x00\x00", 4)},
        {"qword", REG_QWORD, Bytes("\x01\x02\x03\x04\x05\x06\x07\x08", 8)},
        {"type unknown", 0x12345, "text"},
        {"", REG_SZ, "default value"},
    };
    std::vector<std::string> names;
    for (const auto& v : values) {
        scratch.SetRaw(v.name, v.type, v.bytes.data(), static_cast<DWORD>(v.bytes.size()));
        names.push_back(v.name);
    }
    ExpectAllReadAsDocumented(scratch, random, names, 1);
}

TEST(RegistryFuzz, RandomValuesReadAsDocumented)
{
    static const DWORD types[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
                                  REG_LINK, REG_MULTI_SZ, REG_QWORD, 12, 0xFFFF, 0x80000001};
    static const uint32_t sizes[] = {0, 1, 2, 3, 4, 8, 63, 64, 65, 4095, 4096, 70000};
    for (uint32_t seed : FuzzSeeds(9000, 40)) {
        const ScratchKey scratch(HKEY_CURRENT_USER, kScratch);   // empty for each seed
        FuzzRandom random(seed);
        std::vector<std::string> names;
        for (uint32_t i = 0, count = random.Between(1, 8); i < count; ++i) {
            const std::string name = random.OneIn(8) ? "" : "v" + random.From("abcABC \\.", random.Below(6));
            const DWORD type = random.OneIn(3) ? random.Pick(types) : random.Between(REG_SZ, REG_EXPAND_SZ);
            const uint32_t size = random.OneIn(2) ? random.Pick(sizes) : random.Below(300);
            const std::string bytes = random.OneIn(2) ? random.NonZero(size) : random.From("ab\x01\xE9\xFF" + std::string(1, '\0'), size);
            scratch.SetRaw(name.c_str(), type, bytes.data(), size);
            names.push_back(name);
        }
        ExpectAllReadAsDocumented(scratch, random, names, seed);
        if (HasFailure())
            break;
    }
}
