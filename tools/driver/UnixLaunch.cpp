#include "tools/driver/UnixLaunch.h"

#include "tools/driver/Clock.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"
#include "tools/driver/LaunchHandover.h"

namespace e2e {

namespace {

// The Unix file Wine runs programs with, as Wine puts it in every process's environment
// (WINELOADER): the loader of this process's own kind, wine or wine64.
std::string LoaderUnixPath()
{
    char unixPath[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("WINELOADER", unixPath, sizeof unixPath);
    if (length == 0 || length >= sizeof unixPath)
        Fail("WINELOADER is not set: cannot start a program through the Unix side");
    return unixPath;
}

// The Windows name of a Unix file.
std::string WindowsName(const std::string& unixPath)
{
    using DosFileName = WCHAR*(CDECL*)(const char*);
    const auto dosFileName = reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* dos = dosFileName ? dosFileName(unixPath.c_str()) : nullptr;
    if (!dos)
        Fail("no Windows name for the Unix file %s", unixPath.c_str());
    char path[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, dos, -1, path, sizeof path, nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
    return path;
}

// The named block e2e_launch fills; it lives as long as this object.
class HandoverBlock {
public:
    HandoverBlock()
    {
        static LONG counter = 0;
        m_name = Format("e2e_launch_%lu_%ld", GetCurrentProcessId(), InterlockedIncrement(&counter));
        m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LaunchHandover),
                                       m_name.c_str());
        if (!m_mapping)
            FailWithLastError("CreateFileMappingA " + m_name);
        m_view = static_cast<LaunchHandover*>(MapViewOfFile(m_mapping, FILE_MAP_WRITE, 0, 0, sizeof(LaunchHandover)));
        if (!m_view) {
            CloseHandle(m_mapping);
            FailWithLastError("MapViewOfFile " + m_name);
        }
        m_view->driverId = GetCurrentProcessId();
    }
    ~HandoverBlock()
    {
        UnmapViewOfFile(m_view);
        CloseHandle(m_mapping);
    }
    HandoverBlock(const HandoverBlock&) = delete;
    HandoverBlock& operator=(const HandoverBlock&) = delete;

    const std::string& Name() const { return m_name; }
    LaunchHandover& Record() const { return *m_view; }

private:
    std::string m_name;
    HANDLE m_mapping = nullptr;
    LaunchHandover* m_view = nullptr;
};

}  // namespace

bool RunsUnderWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

StartedProcess StartThroughUnix(const std::string& commandLine, const std::string& environmentBlock,
                                const std::string& folder, unsigned timeoutMs)
{
    const HandoverBlock block;
    const std::string loader = LoaderUnixPath();
    // The loader takes its own kind from the name it is started by (argv[0]): started as "wine",
    // the 64-bit loader would hand over to the 32-bit one, which a host may be unable to run.
    std::string loaderCommand = Format("\"%s\" \"%s\" %s %s", loader.c_str(), BesideProgram("e2e_launch.exe").c_str(),
                                       block.Name().c_str(), ToHex(commandLine).c_str());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // A Unix program: Wine hands back no handle for it, hence e2e_launch's handover.
    if (!CreateProcessA(WindowsName(loader).c_str(), &loaderCommand[0], nullptr, nullptr, FALSE, 0,
                        const_cast<char*>(environmentBlock.data()), folder.empty() ? nullptr : folder.c_str(),
                        &startup, &started))
        FailWithLastError("starting the Wine loader for " + commandLine);
    if (!PollUntil(timeoutMs, [&] { return block.Record().state != kLaunchWaiting; }))
        Fail("e2e_launch did not hand over %s within %u ms", commandLine.c_str(), timeoutMs);
    const LaunchHandover& record = block.Record();
    if (record.state == kLaunchFailed) {
        SetLastError(record.error);
        FailWithLastError("e2e_launch starting " + commandLine);
    }
    StartedProcess result;
    result.process = record.process;
    result.id = record.processId;
    return result;
}

}  // namespace e2e
