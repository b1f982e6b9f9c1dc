#include "foundation/DynLibrary.h"

#include "foundation/StructException.h"

#include <cstring>

namespace {

// The loader's flag for "the system folder only" (SearchFolderFlagsWork says whether the
// loader knows such flags).
constexpr DWORD kSearchSystemFolder = LOAD_LIBRARY_SEARCH_SYSTEM32;

// KERNEL32's function of that name; null where the system lacks it.
FARPROC Kernel32Function(const char* name)
{
    return GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), name);
}

// The LOAD_LIBRARY_SEARCH_... flags came with AddDllDirectory (Windows 8, and Windows 7 and
// Vista with update KB2533623); older loaders reject them.
bool SearchFolderFlagsWork()
{
    return Kernel32Function("AddDllDirectory") != nullptr;
}

// A library by name alone is looked for first in the program's folder, then in the current
// folder and the PATH, for every library that is not on the system's list of known DLLs; a
// file planted there under a system library's name would run with the rights of whoever
// starts the program. So it is the system folder's own file or nothing: by the loader's flag,
// else by full path, whose dependencies LOAD_WITH_ALTERED_SEARCH_PATH looks for beside it,
// in the system folder, rather than beside the program. (GetSystemDirectoryA: a 32-bit
// process on 64-bit Windows is sent on to its own libraries by the system.)
HMODULE LoadFromSystemFolder(const char* name, DWORD flags)
{
    if (SearchFolderFlagsWork())
        return LoadLibraryExA(name, nullptr, flags | kSearchSystemFolder);
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0)
        return nullptr;   // its error stands
    if (length + 1 + std::strlen(name) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    path[length] = '\\';
    std::strcpy(path + length + 1, name);
    return LoadLibraryExA(path, nullptr, flags | LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The address of `name` in `library` as the function type the caller knows it by. Looked
// up again whenever the library was unloaded since: an address of a freed library is stale.
template <typename TFunction>
TFunction CachedFunction(CDynLibrary& library, const char* libraryName, const char* name, TFunction& cache)
{
    if (!library.IsLoaded())
        cache = nullptr;
    library.Load(libraryName, 0);
    if (!cache)
        cache = GetFunctionAs<TFunction>(library, name);
    return cache;
}

}  // namespace

// ---- CDynLibrary ----------------------------------------------------------------------------

CDynLibrary& CDynLibrary::Load(const CStr& name, uint32_t flags)
{
    if (m_module)
        return *this;
    m_module.Reset(LoadFromSystemFolder(name.data, flags));
    if (!m_module) {
        // Taken before any other call can overwrite it.
        const DWORD error = GetLastError();
        RaiseSystemError(error, "DLL: %s", CStr().Format("Can not load library %s.", name.data));
    }
    return *this;
}

FARPROC CDynLibrary::GetFunction(const CStr& name)
{
    if (!m_module)
        RaiseSystemError(0, "DLL: %s", "Library is not loaded.");
    const FARPROC function = GetProcAddress(m_module.Get(), name.data);
    if (!function) {
        const DWORD error = GetLastError();
        // Kept on purpose: docs/compatibility.md, "Step texts end in an empty %s".
        RaiseSystemError(error, "DLL: %s", CStr().Format("Can not load function. %s", ""));
    }
    return function;
}

BOOL CDynLibrary::Unload()
{
    return m_module ? FreeLibrary(m_module.Release()) : 0;
}

// ---- the process's search rule --------------------------------------------------------------

void RestrictLibrarySearchToSystemFolder()
{
    RestrictLibrarySearchToSystemFolder(Kernel32Function("SetDefaultDllDirectories"));
}

// Vista and 7 without the update that brought SetDefaultDllDirectories still search the
// program's folder and the system's, but the current folder (often a download or a share)
// no longer: a DLL directory takes its place in the search. Windows takes the empty text for
// none at all; Wine takes it for no setting, so the system folder, searched anyway, is named.
void RestrictLibrarySearchToSystemFolder(FARPROC setDefaultDllDirectories)
{
    using SetDefaultDirectoriesFunction = BOOL(WINAPI*)(DWORD directoryFlags);
    if (setDefaultDllDirectories) {
        reinterpret_cast<SetDefaultDirectoriesFunction>(reinterpret_cast<void*>(setDefaultDllDirectories))(
            kSearchSystemFolder);
        return;
    }
    char systemFolder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(systemFolder, MAX_PATH);
    // Made sounder on purpose: docs/compatibility.md, "Libraries from the system folder only".
    SetDllDirectoryA(length > 0 && length < MAX_PATH ? systemFolder : "");
}

// ---- the system libraries -------------------------------------------------------------------

UINT CKernel32Library::GetSystemWindowsDir(LPSTR buffer, UINT size)
{
    return CachedFunction(*this, "KERNEL32.DLL", "GetSystemWindowsDirectoryA", m_getSystemWindowsDirectory)(
        buffer, size);
}

BOOL CShell32Library::GetSpecialFolderPath(HWND owner, LPSTR buffer, int folder, BOOL create)
{
    return CachedFunction(*this, "SHELL32.DLL", "SHGetSpecialFolderPathA", m_getSpecialFolderPath)(
        owner, buffer, folder, create);
}
