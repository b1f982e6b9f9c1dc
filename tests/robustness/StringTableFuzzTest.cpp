// String tables of odd shapes read with LoadFromStringTable. The modules are real: copies of
// string_blocks.dll into which each seed writes random, truncated and lying blocks in
// several languages (BeginUpdateResourceA), loaded as data files or as images. A
// bounds-checked reading of the bytes the test wrote is the reference.

#include "foundation/Str.h"
#include "tests/robustness/Fuzz.h"
#include "tools/driver/Files.h"

#include <gtest/gtest.h>

#include <functional>
#include <iomanip>
#include <map>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

namespace {

using BlockKey = std::pair<WORD, WORD>;               // block number, language
using Blocks = std::map<BlockKey, std::string>;       // the bytes of each block

const WORD kLanguages[] = {0x0409, 0x0C0A, 0x0407, 0x040C, 0x0411, 0x0419};
// Not written to any module: the user's default language, which the tool asks for, and a
// specific language that falls back to the plain lookup.
const WORD kAbsentLanguages[] = {0x0400, 0x0807};
const WORD kBlockNumbers[] = {1, 2, 3, 7, 250, 4096, 65535};

std::string SiblingPath(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string self(path);
    return self.substr(0, self.rfind('\\') + 1) + name;
}

// The reference: the text of entry `entry` of a block, or the empty text when the entry is
// empty, lies beyond the block, or claims more than the block holds. Every read is checked
// against the block's size.
std::string ExpectedText(const std::string& block, uint32_t entry)
{
    const auto countAt = [&block](size_t at) {
        return static_cast<size_t>(static_cast<unsigned char>(block[at]) |
                                   (static_cast<unsigned char>(block[at + 1]) << 8));
    };
    size_t at = 0;
    for (uint32_t i = 0; i < entry; ++i) {
        if (at + 2 > block.size())
            return "";
        at += 2 + 2 * countAt(at);
    }
    if (at + 2 > block.size())
        return "";
    const size_t count = countAt(at);
    if (count == 0 || at + 2 + 2 * count > block.size())
        return "";
    std::wstring units;
    for (size_t i = 0; i < count && countAt(at + 2 + 2 * i) != 0; ++i)
        units += static_cast<wchar_t>(countAt(at + 2 + 2 * i));
    if (units.empty())
        return "";
    const int size = WideCharToMultiByte(CP_ACP, 0, units.data(), static_cast<int>(units.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string text(size > 0 ? size : 0, '\0');
    WideCharToMultiByte(CP_ACP, 0, units.data(), static_cast<int>(units.size()), &text[0], size, nullptr, nullptr);
    return text;
}

// The block that a request should read: the one in the requested language when the module
// has it, else the one the platform's plain lookup picks among those written. Null when the
// module has the block in no language.
const std::string* ExpectedBlock(const Blocks& blocks, HMODULE module, WORD number, WORD language,
                                 const std::string& where)
{
    const auto exact = blocks.find({number, language});
    if (exact != blocks.end())
        return &exact->second;
    const HRSRC picked = FindResourceA(module, MAKEINTRESOURCEA(number), RT_STRING);
    if (!picked)
        return nullptr;
    for (const auto& block : blocks)
        if (block.first.first == number &&
            FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(number), block.first.second) == picked)
            return &block.second;
    ADD_FAILURE() << where << ": the plain lookup of block " << number << " found a block the test did not write";
    return nullptr;
}

// The bytes the platform gives for a block: the harness's check that the module holds what
// the test wrote.
std::string PlatformBytes(HMODULE module, WORD number, WORD language)
{
    const HRSRC resource = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(number), language);
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(module, resource)) : "<none>";
}

std::string Hex(const std::string& text)
{
    std::ostringstream out;
    for (unsigned char c : text.substr(0, 40))
        out << std::hex << std::setw(2) << std::setfill('0') << unsigned{c};
    return out.str() + (text.size() > 40 ? "..." : "");
}

// Loads every entry of `numbers` in every language of `languages` and compares with the
// reference. Ids past 0xFFFFF wrap to a 16-bit block number, as the loader's rule says.
// `where` names the request for failure messages.
void ExpectEveryEntryAsTheReference(const Blocks& blocks, HMODULE module, const std::vector<WORD>& numbers,
                                    const std::vector<WORD>& languages,
                                    const std::function<std::string(uint32_t request)>& where)
{
    uint32_t request = 0;
    for (WORD number : numbers) {
        for (WORD language : languages) {
            const std::string* block = ExpectedBlock(blocks, module, number, language, where(request));
            for (uint32_t entry = 0; entry < 16; ++entry) {
                const std::string expected = block ? ExpectedText(*block, entry) : "";
                const uint32_t id = ((number - 1u) & 0xFFFFu) * 16 + entry;
                for (uint32_t wrapped : {id, id + 0x100000}) {
                    ++request;
                    CStr text("left over");
                    text.LoadFromStringTable(wrapped, language, module);
                    const std::string got = text.data ? text.data : "<no block>";
                    ASSERT_TRUE(got == expected)
                        << where(request) << ": string " << wrapped << " (block " << number << ", entry " << entry
                        << ") in language " << std::hex << language << ": got " << Hex(got) << ", expected "
                        << Hex(expected) << (block ? ", block " + Hex(*block) : ", no block");
                }
            }
        }
    }
}

// 16 entries of random lengths (empty ones among them) and contents: ASCII, Latin-1, any
// code unit (lone surrogates and zeros too); sometimes one of thousands of units, or of the
// most a count can say.
std::string WellFormedBlock(FuzzRandom& random, uint32_t entries)
{
    std::string block;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t count = random.OneIn(3)    ? 0
                               : random.OneIn(100) ? 0xFFFF   // the most a count can say
                               : random.OneIn(20)  ? random.Between(1000, 4000)
                                                   : random.Between(1, 40);
        block += static_cast<char>(count & 0xFF);
        block += static_cast<char>(count >> 8);
        const uint32_t kind = random.Below(3);
        for (uint32_t u = 0; u < count; ++u) {
            const uint32_t unit = kind == 0 ? random.Between(0x20, 0x7E)
                                : kind == 1 ? random.Between(0xA0, 0xFF)
                                            : (random.OneIn(30) ? 0 : random.Between(1, 0xFFFF));
            block += static_cast<char>(unit & 0xFF);
            block += static_cast<char>(unit >> 8);
        }
    }
    return block;
}

// A block of one of the shapes a module may hold: well formed; cut at any byte; with one
// count raised past the block's end; random bytes; fewer than 16 entries; trailing bytes.
// Never empty: the updater cannot write a block of no bytes.
std::string RandomBlock(FuzzRandom& random)
{
    std::string block;
    switch (random.Below(6)) {
    case 0: block = WellFormedBlock(random, 16); break;
    case 1: block = WellFormedBlock(random, 16); block.resize(random.Below(static_cast<uint32_t>(block.size()))); break;
    case 2: {
        block = WellFormedBlock(random, 16);
        // Walk to a random entry and make its count claim more than what follows it.
        size_t at = 0;
        for (uint32_t i = 0, target = random.Below(16); i < target; ++i)
            at += 2 + 2 * (static_cast<unsigned char>(block[at]) | (static_cast<unsigned char>(block[at + 1]) << 8));
        const uint32_t left = static_cast<uint32_t>((block.size() - at - 2) / 2);
        const uint32_t lie = std::min<uint32_t>(0xFFFF, left + random.Between(1, random.OneIn(2) ? 3 : 0xFFFF));
        block[at] = static_cast<char>(lie & 0xFF);
        block[at + 1] = static_cast<char>(lie >> 8);
        break;
    }
    case 3: block = random.From(std::string("\x00\x01\x02\xFF", 4), random.Between(1, 64)); break;
    case 4: block = WellFormedBlock(random, random.Between(1, 15)); break;
    default: block = WellFormedBlock(random, 16) + random.From(std::string("\x00\x01\x41", 3), random.Between(1, 9)); break;
    }
    if (block.empty())
        block = random.From(std::string("\x00\x03", 2), 1);
    return block;
}

class StringTableFuzz : public ::testing::Test {
protected:
    const e2e::ScratchFolder folder;
    const std::string base = SiblingPath("string_blocks.dll");
};

}  // namespace

// The blocks of the resource script as they stand: empty blocks give the empty text in their
// language, without falling back to another language that has the block.
TEST_F(StringTableFuzz, EmptyBlocksGiveTheEmptyTextInTheirLanguage)
{
    const HMODULE module = LoadLibraryExA(base.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr) << base << ", error " << GetLastError();
    const std::string en("\x02\x00\x65\x00\x6E\x00", 6);
    const std::string es = std::string(30, '\0') + std::string("\x02\x00\x65\x00\x73\x00", 6);
    const Blocks blocks = {{{1, 0x0409}, en + std::string(30, '\0')}, {{1, 0x0C0A}, ""}, {{2, 0x0409}, ""},
                           {{3, 0x0C0A}, es}};
    for (const auto& block : blocks)
        EXPECT_TRUE(PlatformBytes(module, block.first.first, block.first.second) == block.second)
            << "block " << block.first.first << " language " << std::hex << block.first.second;
    ExpectEveryEntryAsTheReference(blocks, module, {1, 2, 3, 4}, {0x0409, 0x0C0A, 0x0400, 0x0807},
                                   [](uint32_t request) { return "base module, request " + std::to_string(request); });
    EXPECT_STREQ(CStr("x").LoadFromStringTable(0, 0x0409, module).data, "en");
    EXPECT_STREQ(CStr("x").LoadFromStringTable(0, 0x0C0A, module).data, "");
    EXPECT_STREQ(CStr("x").LoadFromStringTable(47, 0x0409, module).data, "es");   // only Spanish has block 3
    FreeLibrary(module);
}

TEST_F(StringTableFuzz, RandomBlocksInSeveralLanguagesGiveTheTextsOfABoundsCheckedReading)
{
    for (uint32_t seed : FuzzSeeds(7000, 30)) {
        FuzzRandom random(seed);
        const std::string path = folder.PathOf("blocks" + std::to_string(seed) + ".dll");
        ASSERT_TRUE(CopyFileA(base.c_str(), path.c_str(), FALSE)) << base << ", error " << GetLastError();

        Blocks blocks;
        for (uint32_t i = 0, count = random.Between(1, 6); i < count; ++i) {
            const WORD number = random.Pick(kBlockNumbers);
            for (uint32_t j = 0, languages = random.Between(1, 3); j < languages; ++j)
                blocks[{number, random.Pick(kLanguages)}] = RandomBlock(random);
        }
        const HANDLE update = BeginUpdateResourceA(path.c_str(), TRUE);   // only the blocks below
        ASSERT_NE(update, nullptr) << FuzzWhere(seed, 0) << ", error " << GetLastError();
        for (auto& block : blocks)
            ASSERT_TRUE(UpdateResourceA(update, RT_STRING, MAKEINTRESOURCEA(block.first.first), block.first.second,
                                        &block.second[0], static_cast<DWORD>(block.second.size())))
                << FuzzWhere(seed, 0) << ", error " << GetLastError();
        ASSERT_TRUE(EndUpdateResourceA(update, FALSE)) << FuzzWhere(seed, 0) << ", error " << GetLastError();

        const DWORD how = seed % 2 ? LOAD_LIBRARY_AS_DATAFILE : 0;   // as a data file, or mapped as an image
        const HMODULE module = LoadLibraryExA(path.c_str(), nullptr, how);
        ASSERT_NE(module, nullptr) << FuzzWhere(seed, 0) << ", error " << GetLastError();
        std::set<WORD> languages(std::begin(kAbsentLanguages), std::end(kAbsentLanguages));
        std::set<WORD> numbers{0, 4};   // blocks no seed writes; 0 is where ids from 0xFFFF0 wrap to
        uint32_t step = 0;
        for (const auto& block : blocks) {
            EXPECT_TRUE(PlatformBytes(module, block.first.first, block.first.second) == block.second)
                << FuzzWhere(seed, step++) << ": the module does not hold the block written";
            languages.insert(block.first.second);
            numbers.insert(block.first.first);
        }
        ExpectEveryEntryAsTheReference(blocks, module, {numbers.begin(), numbers.end()},
                                       {languages.begin(), languages.end()},
                                       [seed](uint32_t request) { return FuzzWhere(seed, request); });
        FreeLibrary(module);
        DeleteFileA(path.c_str());
        if (HasFailure())
            break;
    }
}
