// The first code of every test program: it creates the file that VORTAG_START_MARK names, when
// that is set. CTest's emulator (scripts/wine-program.sh) reads a run that left no such file as
// one that Wine failed to start, and so may run it again; a program that crashes in its static
// initialisation has made the mark and is never run again.
//
// It sits in the C runtime's table of initialisers (.CRT$XI*), which the runtime calls before
// any C++ constructor of the program, whatever its priority: the tool's own process-wide
// objects, linked into the tests, have one of the highest.

#include "foundation/Win32.h"

namespace {

void MarkStarted()
{
    char path[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("VORTAG_START_MARK", path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    const HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (mark != INVALID_HANDLE_VALUE)
        CloseHandle(mark);
}

__attribute__((section(".CRT$XIU"), used)) void (*g_markStarted)() = MarkStarted;

}  // namespace
