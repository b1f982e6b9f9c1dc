#pragma once
// A system library loaded at run time, and the two whose optional functions the folder
// resolver asks for. Every failure is thrown as a CStructException whose context line starts
// "DLL: ".

#include "foundation/Owned.h"
#include "foundation/Str.h"

#include <cstdint>

class CDynLibrary {
public:
    CDynLibrary() = default;
    CDynLibrary(const CDynLibrary&) = delete;
    CDynLibrary& operator=(const CDynLibrary&) = delete;

    // The system folder's library of this file name (LoadLibraryExA with the flags); nothing
    // when a library is held. Never a file of that name elsewhere: see the definition.
    CDynLibrary& Load(const CStr& name, uint32_t flags);
    // The function's address; never null.
    FARPROC GetFunction(const CStr& name);
    // 0 when nothing was held, else what FreeLibrary answered.
    BOOL Unload();
    // Lets go of the library without freeing it: it stays loaded until the process ends.
    void Detach() { m_module.Release(); }

    bool IsLoaded() const { return static_cast<bool>(m_module); }

private:
    COwnedLibrary m_module;
};

// GetFunction, as the function type the caller knows it by.
template <typename TFunction>
TFunction GetFunctionAs(CDynLibrary& library, const CStr& name)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(library.GetFunction(name)));
}

// A function of a system library that the program does not import but loads on first use and
// keeps loaded until it ends. Every imported library is loaded and initialised before the
// entry point runs, so a library that only some action needs belongs here: SHELL32 with the
// libraries it pulls in, and RPCRT4, cost the tool's start a few milliseconds and most of a
// megabyte. COMCTL32 is loaded here too, though every start needs it: it is no known DLL, so
// as an import it would be looked for beside the program first. It is never freed again:
// SHELL32 may leave threads of its own running after a call.
// (The linker's delay-loading would do the same without code, but this toolchain's i686
// delay-import libraries leave the function's slot empty: the first call jumps to 0.)
// Failures are thrown as CDynLibrary throws them.
template <typename TFunction>
TFunction GetResidentFunction(const CStr& library, const CStr& name)
{
    CDynLibrary loaded;
    loaded.Load(library, 0);
    const TFunction function = GetFunctionAs<TFunction>(loaded, name);
    loaded.Detach();
    return function;
}

// From here on every library that the process loads by name, ours or one that system code
// loads for us, is looked for in the system folder only (SetDefaultDllDirectories, where the
// system has it); where it lacks that, at least not in the current folder (SetDllDirectoryA
// with the empty text). Call it before anything else runs.
void RestrictLibrarySearchToSystemFolder();
// The same with the system's SetDefaultDllDirectories given, or null as on a system without it.
void RestrictLibrarySearchToSystemFolder(FARPROC setDefaultDllDirectories);

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
