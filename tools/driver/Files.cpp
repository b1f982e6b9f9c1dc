#include "tools/driver/Files.h"

#include "foundation/Win32.h"
#include "tools/driver/Clock.h"
#include "tools/driver/DriverError.h"

namespace e2e {

namespace {

LONG g_scratchFolders = 0;   // made by this process so far

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void DeleteTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(path);
            else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

std::string ProgramFolder()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        FailWithLastError("GetModuleFileNameA");
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string BesideProgram(const std::string& name)
{
    return ProgramFolder() + "\\" + name;
}

std::string ReadWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

std::string TempFolder()
{
    char temp[MAX_PATH + 1] = "";
    if (!GetTempPathA(sizeof temp, temp))
        FailWithLastError("GetTempPathA");
    return temp;
}

ScratchFolder::ScratchFolder()
    : ScratchFolder(Format("%sscratch-%lu-%ld", TempFolder().c_str(), GetCurrentProcessId(),
                           InterlockedIncrement(&g_scratchFolders)))
{
}

ScratchFolder::ScratchFolder(std::string path) : m_path(std::move(path))
{
    DeleteTree(m_path);   // whatever an earlier run left there
    if (!CreateDirectoryA(m_path.c_str(), nullptr))
        FailWithLastError("CreateDirectoryA " + m_path);
}

ScratchFolder::~ScratchFolder()
{
    // A program started from the folder may still be ending and hold its file a moment longer.
    PollUntil(kDefaultTimeoutMs, [this] {
        DeleteTree(m_path);
        return GetFileAttributesA(m_path.c_str()) == INVALID_FILE_ATTRIBUTES;
    });
}

std::string ScratchFolder::PathOf(const std::string& name) const
{
    return m_path + "\\" + name;
}

std::string ScratchFolder::CopyIn(const std::string& file) const
{
    const std::string copy = PathOf(FileNameOf(file));
    if (!CopyFileA(file.c_str(), copy.c_str(), FALSE))
        FailWithLastError("CopyFileA " + file);
    return copy;
}

}  // namespace e2e
