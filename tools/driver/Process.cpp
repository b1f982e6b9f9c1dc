#include "tools/driver/Process.h"

#include "tools/driver/DriverError.h"
#include "tools/driver/UnixLaunch.h"

#include <tlhelp32.h>

#include <cstdio>

namespace e2e {

namespace {

std::string FullPath(const std::string& program)
{
    char path[MAX_PATH] = "";
    const DWORD length = GetFullPathNameA(program.c_str(), sizeof path, path, nullptr);
    if (length == 0 || length >= sizeof path)
        FailWithLastError("GetFullPathNameA " + program);
    return path;
}

// A line in the test's output, which CTest's emulator also adds to the run's list of reruns.
void SayRerun(const std::string& commandLine)
{
    std::fprintf(stderr, "rerun: %s: Wine ended it before its start was done (ERROR_INTERNAL_ERROR); "
                         "starting it once more\n", commandLine.c_str());
    std::fflush(stderr);
}

StartedProcess StartDirectly(std::string commandLine, const std::string& program, const StartOptions& options)
{
    const std::string block = options.environment.empty() ? std::string() : EnvironmentBlock(options.environment);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // Under load Wine now and then refuses a start with ERROR_INTERNAL_ERROR, which a second
    // start does not repeat. Wine answers it only for a new process that ended with code 0
    // before telling the server its start was done, which it tells before it runs any code of
    // the program's: Wine failed, not the program. Any other refusal is the test's to see.
    BOOL created = FALSE;
    for (int attempt = 0; attempt < 2 && !created; ++attempt) {
        if (attempt > 0)
            SayRerun(commandLine);
        created = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                 block.empty() ? nullptr : const_cast<char*>(block.data()),
                                 options.folder.empty() ? nullptr : options.folder.c_str(), &startup, &started);
        if (!created && GetLastError() != ERROR_INTERNAL_ERROR)
            break;
    }
    if (!created)
        FailWithLastError("CreateProcessA " + commandLine);
    CloseHandle(started.hThread);
    StartedProcess result;
    result.process = started.hProcess;
    result.id = started.dwProcessId;
    return result;
}

}  // namespace

Process::Process(const std::string& program, const StartOptions& options)
{
    const std::string path = FullPath(program);
    m_name = path.substr(path.find_last_of('\\') + 1);
    const std::string commandLine = "\"" + path + "\"" + (options.arguments.empty() ? "" : " " + options.arguments);
    // Outside Wine the locale variables mean nothing to Windows programs; no detour is needed.
    const StartedProcess started =
        SetsLocale(options.environment) && RunsUnderWine()
            ? StartThroughUnix(commandLine, EnvironmentBlock(options.environment), options.folder, kDefaultTimeoutMs)
            : StartDirectly(commandLine, path, options);
    m_handle = started.process;
    m_id = started.id;
}

Process::~Process()
{
    if (IsRunning())
        Terminate();
    CloseHandle(m_handle);
}

bool Process::IsRunning() const
{
    return WaitForSingleObject(m_handle, 0) == WAIT_TIMEOUT;
}

DWORD Process::WaitForExit(unsigned timeoutMs)
{
    const bool ended = PollUntil(timeoutMs, [this] {
        Sample();
        return !IsRunning();
    });
    if (!ended) {
        Kill();
        Fail("%s (process %lu) did not exit within %u ms; killed", m_name.c_str(), m_id, timeoutMs);
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(m_handle, &code))
        FailWithLastError("GetExitCodeProcess of " + m_name);
    return code;
}

void Process::Kill()
{
    if (!Terminate())
        Fail("%s (process %lu) could not be killed within %u ms", m_name.c_str(), m_id, kDefaultTimeoutMs);
}

bool Process::Terminate()
{
    TerminateProcess(m_handle, kKilledExitCode);
    // Termination is asynchronous; whoever goes on expects the program gone.
    return WaitForSingleObject(m_handle, kDefaultTimeoutMs) == WAIT_OBJECT_0;
}

MemoryFigures Process::Memory()
{
    if (!IsRunning())
        Fail("%s (process %lu) has ended; its memory figures are gone", m_name.c_str(), m_id);
    const MemoryFigures now = ReadMemory(m_handle);
    m_peak = Largest(m_peak, now);
    return now;
}

void Process::Sample()
{
    MemoryFigures now;
    if (TryReadMemory(m_handle, now))
        m_peak = Largest(m_peak, now);
}

bool IsProgramRunning(const std::string& fileName)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        FailWithLastError("CreateToolhelp32Snapshot");
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    bool running = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !running; more = Process32Next(snapshot, &entry))
        running = lstrcmpiA(entry.szExeFile, fileName.c_str()) == 0;
    CloseHandle(snapshot);
    return running;
}

}  // namespace e2e
