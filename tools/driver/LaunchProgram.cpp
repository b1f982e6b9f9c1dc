// e2e_launch: starts a program on behalf of the driver and hands it back.
//
// The driver runs this program through the Unix side when the program under test needs a
// locale of its own: Wine takes a process's language from its Unix environment, which a
// Windows parent cannot set for a Windows child. Started here, the program inherits this
// process's Unix-made environment and working folder; its handle goes back to the driver, which
// then owns the program as if it had started it itself.
//
// Command line: <name of the driver's LaunchHandover block> <program's command line in hex>
#include "tools/driver/LaunchHandover.h"

#include <cstring>

namespace {

using e2e::LaunchHandover;

// Starts `commandLine` and gives the driver a handle to it; returns the Win32 error of the step
// that failed, or 0.
DWORD Launch(std::string commandLine, LaunchHandover& handover)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return GetLastError();
    CloseHandle(started.hThread);
    DWORD error = 0;
    HANDLE driver = OpenProcess(PROCESS_DUP_HANDLE, FALSE, handover.driverId);
    if (!driver || !DuplicateHandle(GetCurrentProcess(), started.hProcess, driver, &handover.process, 0, FALSE,
                                    DUPLICATE_SAME_ACCESS)) {
        // Nobody could ever wait for it or end it: do not leave it running.
        error = GetLastError();
        TerminateProcess(started.hProcess, error);
    }
    handover.processId = started.dwProcessId;
    if (driver)
        CloseHandle(driver);
    CloseHandle(started.hProcess);
    return error;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    const char* space = std::strchr(commandLine, ' ');
    if (!space)
        return ERROR_INVALID_PARAMETER;
    const std::string name(commandLine, static_cast<size_t>(space - commandLine));
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str());
    if (!mapping)
        return static_cast<int>(GetLastError());
    auto* handover = static_cast<LaunchHandover*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LaunchHandover)));
    if (!handover) {
        const DWORD error = GetLastError();
        CloseHandle(mapping);
        return static_cast<int>(error);
    }
    const DWORD error = Launch(e2e::FromHex(space + 1), *handover);
    handover->error = error;
    InterlockedExchange(&handover->state, error ? e2e::kLaunchFailed : e2e::kLaunchDone);
    UnmapViewOfFile(handover);
    CloseHandle(mapping);
    return static_cast<int>(error);
}
