#pragma once
// A program started by a test, owned by it to the end.

#include "foundation/Win32.h"
#include "tools/driver/Clock.h"
#include "tools/driver/Environment.h"
#include "tools/driver/Memory.h"

#include <string>

namespace e2e {

struct StartOptions {
    std::string arguments;   // the command line after the program name, as the program gets it
    std::string folder;      // working folder; empty: the driver's own
    // Added to the driver's own environment. Locale variables (LANG, LC_ALL ...) give the
    // program its language: it is then started through the Unix side (UnixLaunch.h).
    Variables environment;
};

// The exit code of a program the driver had to kill.
constexpr DWORD kKilledExitCode = 0xDEAD;

// A started program. It is killed when the object goes while it still runs, so that a failed
// test leaves nothing behind (a stray copy of the tool would hold its single-instance mutex).
class Process {
public:
    explicit Process(const std::string& program, const StartOptions& options = StartOptions());
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    DWORD Id() const { return m_id; }
    HANDLE Handle() const { return m_handle; }
    const std::string& Name() const { return m_name; }   // the program's file name
    bool IsRunning() const;

    // The exit code once the program has ended by itself within `timeoutMs`; otherwise the
    // program is killed and a DriverError says so.
    DWORD WaitForExit(unsigned timeoutMs = kDefaultTimeoutMs);
    void Kill();

    // The figures now; throws once the program has ended (Memory.h).
    MemoryFigures Memory();
    // The largest figures seen so far: every Memory call and every poll of WaitForExit reads
    // them, so a program that ends by itself still leaves its figures from just before.
    MemoryFigures PeakMemory() const { return m_peak; }

private:
    bool Terminate();   // true once the program is gone
    void Sample();

    HANDLE m_handle = nullptr;
    DWORD m_id = 0;
    std::string m_name;
    MemoryFigures m_peak;
};

// Whether a process of a program with this file name (such as "Brevast.exe") runs now,
// whoever started it.
bool IsProgramRunning(const std::string& fileName);

}  // namespace e2e
