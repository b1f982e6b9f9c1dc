#pragma once
// Owner of one open registry key. Every failing registry call is thrown as a
// CStructException whose context line starts "Registry: ", so callers never test codes.

#include "foundation/Owned.h"
#include "foundation/Str.h"

// The machine's registry as 32-bit programs see it. The suite is 32-bit: on 64-bit Windows its
// installer's settings, and the program folders that 32-bit programs are given, live in that
// view (Wow6432Node). A 64-bit build opens those keys with this flag, so that it finds what the
// 32-bit build finds; a 32-bit build sees that view anyway. HKEY_CLASSES_ROOT keys like the
// identifier's are shared by both views from Windows 7 on, but not on Vista and Server 2008.
#if defined(_WIN64)
constexpr REGSAM kRegistryView32 = KEY_WOW64_32KEY;
#else
constexpr REGSAM kRegistryView32 = 0;
#endif

class CRegistryKey {
public:
    CRegistryKey() = default;
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;
    virtual ~CRegistryKey() = default;

    // Opens root\subkey with `access`; when that fails and `create` is exactly 1, creates
    // (or opens) it with full access instead, whatever access was asked for, in the registry
    // view that `access` names.
    CRegistryKey& Open(HKEY root, const CStr& subkey, int create, REGSAM access);

    int SetValue(const CStr& name, DWORD type, const BYTE* data, DWORD size);
    // REG_SZ without its terminator; the empty text is stored as one zero byte.
    int SetString(const CStr& name, const CStr& text);

    DWORD GetValueSize(const CStr& name);
    // Reads the value only when it fits the buffer; returns the value's size either way.
    DWORD GetValue(const CStr& name, DWORD& type, BYTE* buffer, DWORD bufferSize);
    // The text of a REG_SZ or REG_EXPAND_SZ value (unexpanded); any other type reads as empty.
    CStr GetString(const CStr& name);
    // The same for a value measured at `measuredSize` bytes (GetValueSize): one that has grown
    // past that since cannot be read, and throws ERROR_MORE_DATA rather than reading as empty.
    CStr GetString(const CStr& name, DWORD measuredSize);

    // 0, or ERROR_FILE_NOT_FOUND when there was no such value.
    LONG DeleteValue(const CStr& name);
    LONG Close();

private:
    COwnedRegistryKey m_key;
};
