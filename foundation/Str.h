#pragma once
// Byte and UTF-16 strings that own their heap block alone.
//
// A block is prepared (and zero-filled) before every replacement of the text, so a caller
// may Reserve room, let a platform call write into the public `data`, and get a terminated
// text without writing a terminator. Blocks grow in steps of 64 characters and never shrink.

#include "foundation/Win32.h"

#include <cstdarg>
#include <cstdint>

class CStrList;

// Owner of one heap block of `capacity` bytes.
template <typename TChar>
class CTextBuffer {
public:
    CTextBuffer() = default;
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;
    virtual ~CTextBuffer();

    void Clear();                  // zero-fills the block; the block stays
    void Release();                // frees the block and compacts the process heap
    void Ensure(uint32_t bytes);   // a zero-filled block of at least `bytes` bytes

    TChar* data = nullptr;
    uint32_t capacity = 0;         // in bytes
};

template <typename TChar>
class CTextBase : public CTextBuffer<TChar> {
public:
    virtual uint8_t CharSize() const = 0;
    virtual uint32_t GetLength() const = 0;

    // A zero-filled block with room for at least n + 2 characters.
    void Reserve(uint32_t n);
};

class CStr : public CTextBase<char> {
public:
    CStr();
    CStr(const char* text);   // implicit: literals pass where a CStr is wanted; null is ""
    CStr(const CStr& other);
    ~CStr() override;

    CStr& operator=(const char* text) { return Assign(text); }
    CStr& operator=(const CStr& other) { return Assign(other); }

    uint8_t CharSize() const override { return 1; }
    uint32_t GetLength() const override;

    CStr& Assign(const char* text);
    CStr& Assign(const CStr& other);
    CStr& AssignWide(const wchar_t* text);

    int EqualsNoCase(const CStr& other) const;
    int EqualsNoCase(const char* text) const;
    int DiffersNoCase(const char* text) const;

    CStr& MakeUpper();
    CStr& TrimRight();
    CStr& TrimLeft();
    CStr& RemoveAll(const CStr& pattern);
    CStr& Append(const CStr& other);
    CStr Concat(const CStr& other) const;
    CStr Mid(uint32_t first, uint32_t last) const;
    CStr ExpandEnvironment() const;
    uint32_t FindNoCase(const CStr& pattern, uint32_t n) const;

    CStr& Format(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    CStr& FormatV(const char* format, va_list args) __attribute__((format(gnu_printf, 2, 0)));

    // Words of the text between any of the delimiter bytes; returns the number of words.
    uint32_t Split(const CStr& delimiters, CStrList& words) const;

    // Entry `id` of the executable's string table in `language` (or the platform's choice).
    CStr& LoadFromStringTable(uint32_t id, uint16_t language, HMODULE module);
};

class CWideStr : public CTextBase<wchar_t> {
public:
    CWideStr();
    ~CWideStr() override;

    uint8_t CharSize() const override { return 2; }
    uint32_t GetLength() const override;

    CWideStr& AssignNarrow(const char* text);
};
