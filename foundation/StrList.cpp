#include "foundation/StrList.h"

#include <cstring>

uint32_t CStr::Split(const CStr& delimiters, CStrList& words) const
{
    words.Clear();
    const CStr text(*this);   // the string itself is never cut
    const char* p = text.data ? text.data : "";
    const char* set = delimiters.data ? delimiters.data : "";
    // A word is a maximal run of non-delimiter bytes; delimiter runs only separate.
    while (*p) {
        p += std::strspn(p, set);
        const size_t length = std::strcspn(p, set);
        if (length == 0)
            break;
        CStr word;
        word.Reserve(static_cast<uint32_t>(length));
        std::memcpy(word.data, p, length);
        words.Append(word);
        p += length;
    }
    return words.GetCount();
}

CKeyValue::CKeyValue(const CStr& word)
{
    Parse(word);
}

CKeyValue::CKeyValue(const CKeyValue& other) : key(other.key), value(other.value) {}

CKeyValue& CKeyValue::operator=(const CKeyValue& other)
{
    if (&other != this) {
        key = other.key;
        value = other.value;
    }
    return *this;
}

CKeyValue& CKeyValue::Parse(const CStr& word)
{
    CStrList parts;
    // Kept on purpose: docs/compatibility.md, "'/QUIET=' does not select quiet mode".
    if (word.Split("=", parts) == 2) {
        key = parts.GetAt(0)->TrimLeft().TrimRight();
        value = parts.GetAt(1)->TrimLeft().TrimRight();
    } else {
        key = word;
    }
    key.MakeUpper();
    return *this;
}

CStr CKeyValue::GetKey() const
{
    return key;
}
