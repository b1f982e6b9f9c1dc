#include "foundation/Str.h"

#include <cstring>

namespace {

// The bytes of a string-table block: 16 entries, each a 16-bit count of UTF-16 code units
// followed by that many units, without terminator. Count 0 means no string.
struct StringBlock {
    const BYTE* start = nullptr;
    uint32_t size = 0;
};

// Block `block` of the module's string table in `language`, else in the language that the
// system's plain lookup picks. Empty when there is none.
StringBlock FindStringBlock(WORD block, WORD language, HMODULE module)
{
    StringBlock found;
    HRSRC resource = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA(block), language);
    if (!resource)
        resource = FindResourceA(module, MAKEINTRESOURCEA(block), RT_STRING);
    if (!resource)
        return found;
    const HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return found;
    found.start = static_cast<const BYTE*>(bytes);
    found.size = SizeofResource(module, resource);
    return found;
}

uint16_t ReadCount(const BYTE* at)
{
    return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

// Every step is checked against the block's end: an entry that claims more code units than
// the block holds counts as absent, and nothing is read past the block.
CStr& CStr::LoadFromStringTable(uint32_t id, uint16_t language, HMODULE module)
{
    CWideStr text;
    Clear();
    const StringBlock block = FindStringBlock(static_cast<WORD>((id >> 4) + 1), language, module);
    const uint32_t wanted = id & 15;

    uint64_t position = 0;   // wide enough that no count can wrap it
    for (uint32_t entry = 0; entry < wanted && position < block.size; ++entry) {
        if (position + 2 > block.size)
            return *this;
        position += 2 + 2ull * ReadCount(block.start + position);
    }
    if (position + 2 > block.size)
        return *this;
    const uint32_t count = ReadCount(block.start + position);
    if (count == 0 || position + 2 + 2ull * count > block.size)
        return *this;

    text.Reserve(count + 1);
    if (!text.data)
        return *this;
    std::memcpy(text.data, block.start + position + 2, 2 * count);
    return AssignWide(text.data);
}
