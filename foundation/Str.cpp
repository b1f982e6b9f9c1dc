#include "foundation/Str.h"

#include "foundation/Ascii.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <new>

// ---- CTextBuffer ------------------------------------------------------------------------

template <typename TChar>
CTextBuffer<TChar>::~CTextBuffer()
{
    Release();
}

template <typename TChar>
void CTextBuffer<TChar>::Clear()
{
    if (data)
        std::memset(data, 0, capacity);
}

template <typename TChar>
void CTextBuffer<TChar>::Release()
{
    if (!data)
        return;
    try {
        ::operator delete(data);
        data = nullptr;
        capacity = 0;
        // Freed blocks go back to the system at once; a short-lived tool keeps its
        // working set small this way.
        HeapCompact(GetProcessHeap(), 0);
    } catch (...) {
    }
}

template <typename TChar>
void CTextBuffer<TChar>::Ensure(uint32_t bytes)
{
    if (bytes > capacity) {
        // The old block goes first: when the new one cannot be had, the string is left
        // without a block rather than with a stale one.
        Release();
        data = static_cast<TChar*>(::operator new(bytes));
        capacity = bytes;
    }
    Clear();
}

template <typename TChar>
void CTextBase<TChar>::Reserve(uint32_t n)
{
    this->Ensure(CharSize() * ((n & ~63u) + 65u));
}

template class CTextBuffer<char>;
template class CTextBuffer<wchar_t>;
template class CTextBase<char>;
template class CTextBase<wchar_t>;

// ---- CStr -------------------------------------------------------------------------------

CStr::CStr() { Assign(""); }
CStr::CStr(const char* text) { Assign(text ? text : ""); }
CStr::CStr(const CStr& other) : CTextBase<char>() { Assign(other.data ? other.data : ""); }
CStr::~CStr() { Release(); }

uint32_t CStr::GetLength() const
{
    return data ? static_cast<uint32_t>(std::strlen(data)) : 0;
}

CStr& CStr::Assign(const char* text)
{
    // Clearing the block first would wipe a text that lies inside it (s = s.data + 2).
    if (text && data && text >= data && text < data + capacity)
        return Assign(CStr(text));
    Clear();
    if (!text)
        return *this;
    const uint32_t length = static_cast<uint32_t>(std::strlen(text));
    Reserve(length);
    std::memcpy(data, text, length + 1);
    return *this;
}

CStr& CStr::Assign(const CStr& other)
{
    if (&other != this)
        Assign(other.data);
    return *this;
}

CStr& CStr::AssignWide(const wchar_t* text)
{
    Clear();
    if (!text)
        return *this;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return *this;
    Reserve(static_cast<uint32_t>(bytes));
    if (data)
        WideCharToMultiByte(CP_ACP, 0, text, -1, data, static_cast<int>(capacity), nullptr, nullptr);
    return *this;
}

int CStr::EqualsNoCase(const CStr& other) const
{
    if (!data || !other.data)
        return 0;
    const char* a = data;
    const char* b = other.data;
    for (; *a && *b; ++a, ++b)
        if (AsciiLower(*a) != AsciiLower(*b))
            return 0;
    return *a == *b ? 1 : 0;
}

int CStr::EqualsNoCase(const char* text) const
{
    return EqualsNoCase(CStr(text));
}

int CStr::DiffersNoCase(const char* text) const
{
    return EqualsNoCase(text) ? 0 : 1;
}

CStr& CStr::MakeUpper()
{
    for (char* p = data; p && *p; ++p)
        *p = AsciiUpper(*p);
    return *this;
}

CStr& CStr::TrimRight()
{
    const uint32_t length = GetLength();
    for (uint32_t i = length; i > 0 && IsAsciiSpace(data[i - 1]); --i)
        data[i - 1] = '\0';
    return *this;
}

CStr& CStr::TrimLeft()
{
    const uint32_t length = GetLength();
    if (length == 0)
        return *this;
    uint32_t skip = 0;
    while (skip < length && IsAsciiSpace(data[skip]))
        ++skip;
    std::memmove(data, data + skip, length - skip + 1);
    return *this;
}

CStr& CStr::RemoveAll(const CStr& pattern)
{
    // A pattern without a block counts as the empty text, like every other missing text.
    if (!data || !pattern.data || pattern.EqualsNoCase(""))
        return *this;
    // The pattern may be this string itself, which the first removal would empty under the
    // search: the empty text is then found for ever.
    const CStr removed(pattern);
    const size_t patternLength = std::strlen(removed.data);
    // Every search starts over at the front, so occurrences that a removal joins go too.
    while (char* hit = std::strstr(data, removed.data))
        std::memmove(hit, hit + patternLength, std::strlen(hit + patternLength) + 1);
    return *this;
}

CStr CStr::Concat(const CStr& other) const
{
    CStr joined;
    if (data && other.data) {
        joined.Reserve(GetLength() + other.GetLength() + 1);
        std::strcpy(joined.data, data);
        std::strcat(joined.data, other.data);
    } else if (data) {
        joined.Assign(data);
    } else if (other.data) {
        joined.Assign(other.data);
    }
    return joined;
}

CStr& CStr::Append(const CStr& other)
{
    return Assign(Concat(other));
}

CStr CStr::Mid(uint32_t first, uint32_t last) const
{
    CStr part;
    const uint32_t length = GetLength();
    if (first >= length)
        return part;
    const uint32_t end = last < length ? last : length - 1;
    if (end < first)
        return part;
    const uint32_t count = end - first + 1;
    part.Reserve(count);
    std::memcpy(part.data, data + first, count);
    return part;
}

CStr CStr::ExpandEnvironment() const
{
    CStr expanded;
    if (!data)
        return expanded;
    char probe[1];
    const DWORD needed = ExpandEnvironmentStringsA(data, probe, 0);
    if (needed == 0)
        return expanded;
    expanded.Reserve(needed);
    // The whole block, not just `needed`: the ANSI call may want a byte more than it asked
    // for on multi-byte code pages.
    ExpandEnvironmentStringsA(data, expanded.data, expanded.capacity);
    return expanded;
}

uint32_t CStr::FindNoCase(const CStr& pattern, uint32_t n) const
{
    const uint32_t notFound = GetLength();
    if (!data || !pattern.data || n == 0)
        return notFound;

    // Each search resumes one character after the start of the previous match, so
    // occurrences may overlap.
    CStr haystack(*this);
    CStr needle(pattern);
    needle.MakeUpper();
    uint32_t position = 0;
    bool found = false;
    for (uint32_t i = 0; i < n; ++i) {
        haystack.MakeUpper();
        const char* hit = std::strstr(haystack.data, needle.data);
        found = hit != nullptr;
        if (!found)
            continue;
        const uint32_t offset = static_cast<uint32_t>(hit - haystack.data);
        position = i == 0 ? offset : position + offset + 1;
        haystack = Mid(position + 1, GetLength());
    }
    return found ? position : notFound;
}

CStr& CStr::Format(const char* format, ...)
{
    if (!format)
        return *this;
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
    return *this;
}

CStr& CStr::FormatV(const char* format, va_list args)
{
    // Built apart and assigned at the end, so this string's own data may be an argument.
    CStr formatted;
    if (format) {
        va_list measuring;
        va_copy(measuring, args);
        const int length = std::vsnprintf(nullptr, 0, format, measuring);
        va_end(measuring);
        if (length > 0) {
            formatted.Reserve(static_cast<uint32_t>(length));
            if (formatted.data)
                std::vsnprintf(formatted.data, static_cast<size_t>(length) + 1, format, args);
        }
    }
    return Assign(formatted);
}

// ---- CWideStr ---------------------------------------------------------------------------

CWideStr::CWideStr() { AssignNarrow(""); }
CWideStr::~CWideStr() { Release(); }

uint32_t CWideStr::GetLength() const
{
    return data ? static_cast<uint32_t>(std::wcslen(data)) : 0;
}

CWideStr& CWideStr::AssignNarrow(const char* text)
{
    Clear();
    if (!text)
        return *this;
    const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (units <= 0)
        return *this;
    Reserve(static_cast<uint32_t>(units));
    if (data)
        MultiByteToWideChar(CP_ACP, 0, text, -1, data, units);
    return *this;
}
