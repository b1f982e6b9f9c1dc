#pragma once
// A library loaded at run time, and the two system libraries whose optional functions the
// folder resolver asks for. Every failure is thrown as a CStructException whose context
// line starts "DLL: ".

#include "foundation/Str.h"

#include <cstdint>

class CDynLibrary {
public:
    CDynLibrary() = default;
    CDynLibrary(const CDynLibrary&) = delete;
    CDynLibrary& operator=(const CDynLibrary&) = delete;
    ~CDynLibrary();

    // LoadLibraryA for flags 0, LoadLibraryExA otherwise; nothing when a library is held.
    CDynLibrary& Load(const CStr& name, uint32_t flags);
    // The function's address; never null.
    FARPROC GetFunction(const CStr& name);
    // 0 when nothing was held, else what FreeLibrary answered.
    BOOL Unload();

    bool IsLoaded() const { return m_module != nullptr; }

private:
    HMODULE m_module = nullptr;
};

// KERNEL32.DLL with GetSystemWindowsDirectoryA, which older systems lack.
class CKernel32Library : public CDynLibrary {
public:
    UINT GetSystemWindowsDir(LPSTR buffer, UINT size);

private:
    using GetSystemWindowsDirectoryFunction = UINT(WINAPI*)(LPSTR buffer, UINT size);
    GetSystemWindowsDirectoryFunction m_getSystemWindowsDirectory = nullptr;
};

// SHELL32.DLL with SHGetSpecialFolderPathA, which older shells lack.
class CShell32Library : public CDynLibrary {
public:
    BOOL GetSpecialFolderPath(HWND owner, LPSTR buffer, int folder, BOOL create);

private:
    using GetSpecialFolderPathFunction = BOOL(WINAPI*)(HWND owner, LPSTR buffer, int folder, BOOL create);
    GetSpecialFolderPathFunction m_getSpecialFolderPath = nullptr;
};
