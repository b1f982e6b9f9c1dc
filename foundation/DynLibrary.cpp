#include "foundation/DynLibrary.h"

#include "foundation/StructException.h"

namespace {

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

CDynLibrary::~CDynLibrary()
{
    Unload();
}

CDynLibrary& CDynLibrary::Load(const CStr& name, uint32_t flags)
{
    if (m_module)
        return *this;
    m_module = flags == 0 ? LoadLibraryA(name.data) : LoadLibraryExA(name.data, nullptr, flags);
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
    const FARPROC function = GetProcAddress(m_module, name.data);
    if (!function) {
        const DWORD error = GetLastError();
        RaiseSystemError(error, "DLL: %s", CStr().Format("Can not load function. %s", ""));
    }
    return function;
}

BOOL CDynLibrary::Unload()
{
    if (!m_module)
        return 0;
    const BOOL result = FreeLibrary(m_module);
    m_module = nullptr;
    return result;
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
