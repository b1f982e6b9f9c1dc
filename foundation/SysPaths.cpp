#include "foundation/SysPaths.h"

#include "foundation/DynLibrary.h"
#include "foundation/OsVersion.h"
#include "foundation/Owned.h"
#include "foundation/RegistryKey.h"
#include "foundation/Report.h"

#include <shlobj.h>

#include <cstring>

namespace {

// Everything from the last backslash on becomes zero bytes; a text without one stays.
void CutAtLastBackslash(CStr& path)
{
    char* last = std::strrchr(path.data, '\\');
    if (last)
        std::memset(last, 0, path.capacity - static_cast<uint32_t>(last - path.data));
}

// The shared Windows folder, traced. GetSystemWindowsDirectoryA is looked up at run time
// because NT 4 lacks it; each library used here is loaded for this call only.
void ResolveSharedWindowsFolder(CStr& path)
{
    bool shared = true;
    try {
        CKernel32Library kernel32;
        kernel32.GetSystemWindowsDir(path.data, path.capacity);
    } catch (...) {
        shared = false;
    }
    if (shared) {
        TraceFormat("System windows directory retrieved %s", path.data);
        return;
    }
    GetWindowsDirectoryA(path.data, path.capacity);
    TraceFormat("Windows directory retrieved %s", path.data);
}

void ResolveWindowsFolder(CStr& path)
{
    switch (ChooseWindowsFolderSource(TheOsVersion())) {
    case WindowsFolderSource::WindowsDirectory:
        GetWindowsDirectoryA(path.data, path.capacity);
        break;
    case WindowsFolderSource::SystemDirectoryParent:
        if (GetSystemDirectoryA(path.data, path.capacity) != 0)
            CutAtLastBackslash(path);
        break;
    case WindowsFolderSource::SharedWindowsDirectory:
        ResolveSharedWindowsFolder(path);
        break;
    }
}

// The system folder as a 32-bit program reaches it. On 64-bit Windows the file system sends a
// 32-bit program that names System32 to SysWOW64; a 64-bit build names that folder itself, so
// that both find the same files. Without WOW64 there is System32 alone.
void ResolveSystemFolder(CStr& path)
{
#if defined(_WIN64)
    if (GetSystemWow64DirectoryA(path.data, path.capacity) != 0)
        return;
#endif
    GetSystemDirectoryA(path.data, path.capacity);
}

// Read access is all this needs: asking for more would leave a user who may not write to
// the machine's settings without a program-files folder. The folders are those of 32-bit
// programs, where the suite lives, in either build.
void ReadCurrentVersionFolder(CStr& path, const char* valueName)
{
    try {
        CRegistryKey key;
        // Made sounder on purpose: docs/compatibility.md, "Program folders read with read access".
        key.Open(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", 0, KEY_READ | kRegistryView32);
        path = key.GetString(valueName);
    } catch (...) {
    }
}

// The item list of a shell folder, freed as the shell wants it freed: with its allocator when
// there is one, else with ILFree.
class CItemList {
public:
    explicit CItemList(IMalloc* allocator) : m_allocator(allocator) {}
    ~CItemList()
    {
        using FreeFunction = void(WINAPI*)(LPITEMIDLIST items);
        if (!items)
            return;
        if (m_allocator) {
            m_allocator->Free(items);
            return;
        }
        try {
            GetResidentFunction<FreeFunction>("SHELL32.DLL", "ILFree")(items);
        } catch (...) {
        }
    }
    CItemList(const CItemList&) = delete;
    CItemList& operator=(const CItemList&) = delete;

    LPITEMIDLIST items = nullptr;

private:
    IMalloc* m_allocator;
};

// The way to a shell folder for a shell without SHGetSpecialFolderPathA. SHELL32 is loaded on
// first use, as everywhere: start-up does not need it.
void ResolveShellFolderThroughItemList(CStr& path, int folderCode)
{
    using GetMallocFunction = HRESULT(WINAPI*)(IMalloc** allocator);
    using GetLocationFunction = HRESULT(WINAPI*)(HWND owner, int folder, LPITEMIDLIST* items);
    using GetPathFunction = BOOL(WINAPI*)(LPCITEMIDLIST items, LPSTR path);
    try {
        const auto getMalloc = GetResidentFunction<GetMallocFunction>("SHELL32.DLL", "SHGetMalloc");
        const auto getLocation = GetResidentFunction<GetLocationFunction>("SHELL32.DLL", "SHGetSpecialFolderLocation");
        const auto getPath = GetResidentFunction<GetPathFunction>("SHELL32.DLL", "SHGetPathFromIDListA");
        IMalloc* allocator = nullptr;
        if (FAILED(getMalloc(&allocator)))
            allocator = nullptr;
        const COwnedInterface<IMalloc> ownedAllocator(allocator);
        // No "insert a disk" box for a folder on a removable drive.
        AddErrorMode(SEM_FAILCRITICALERRORS);
        CItemList list(allocator);
        if (SUCCEEDED(getLocation(nullptr, folderCode, &list.items)))
            getPath(list.items, path.data);
    } catch (...) {
    }
}

// SHELL32 stays loaded once loaded: it may leave threads of its own running after a call, and
// freeing it under them could crash the process later.
void ResolveShellFolder(CStr& path, int folderCode)
{
    CShell32Library shell32;
    try {
        shell32.GetSpecialFolderPath(nullptr, path.data, folderCode, FALSE);
    } catch (...) {
        ResolveShellFolderThroughItemList(path, folderCode);
    }
    // Made sounder on purpose: docs/compatibility.md, "SHELL32 stays loaded".
    shell32.Detach();
}

}  // namespace

// On a terminal server GetWindowsDirectoryA answers the user's private Windows folder; the
// shared one has its own call from NT 5 on. NT 4 keeps the system folder directly in the
// Windows folder.
WindowsFolderSource ChooseWindowsFolderSource(const COsVersion& os)
{
    if (!os.nt)
        return WindowsFolderSource::WindowsDirectory;
    // Kept on purpose: docs/compatibility.md, "The Windows folder by the system's version".
    if (os.major < 5)
        return WindowsFolderSource::SystemDirectoryParent;
    return WindowsFolderSource::SharedWindowsDirectory;
}

CSysPaths::CSysPaths(int folderCode)
{
    Resolve(folderCode);
}

CSysPaths::~CSysPaths() = default;

CSysPaths& CSysPaths::Resolve(int folderCode)
{
    // Every call below gets the whole block as its buffer.
    m_path.Reserve(MAX_PATH);
    if (!m_path.data)
        return *this;
    char* const buffer = m_path.data;
    const DWORD size = m_path.capacity;
    switch (folderCode) {
    case CSIDL_WINDOWS:
        ResolveWindowsFolder(m_path);
        break;
    case CSIDL_SYSTEM:
        ResolveSystemFolder(m_path);
        break;
    case FOLDER_CURRENTDIR:
        GetCurrentDirectoryA(size, buffer);
        break;
    case FOLDER_MODULEDIR:
        if (GetModuleFileNameA(nullptr, buffer, size) != 0)
            CutAtLastBackslash(m_path);
        break;
    case FOLDER_MODULEPATH:
        GetModuleFileNameA(nullptr, buffer, size);
        break;
    case FOLDER_COMMONFILES:
        ReadCurrentVersionFolder(m_path, "CommonFilesDir");
        break;
    case FOLDER_PROGRAMFILES:
        ReadCurrentVersionFolder(m_path, "ProgramFilesDir");
        break;
    case FOLDER_WINDOWSDIR:
        GetWindowsDirectoryA(buffer, size);
        break;
    case FOLDER_TEMP:
        GetTempPathA(size, buffer);
        break;
    default:
        ResolveShellFolder(m_path, folderCode);
        break;
    }
    return *this;
}

CStr CSysPaths::GetPath() const
{
    return m_path;
}

CSysPaths& CSysPaths::SetPath(const CStr& path)
{
    m_path = path;
    return *this;
}
