// A library that someone could put beside the tool under a system library's name. Being
// loaded is all it takes: its entry point leaves the file "<its own path>.ran", so a test sees
// whether a process ever loaded it.
#include "foundation/Win32.h"

// The one function the tool once imported from COMCTL32. A stand-in must export it, or the
// loader refuses such a tool before any entry point runs and the hole stays hidden.
extern "C" __declspec(dllexport) BOOL WINAPI InitCommonControlsEx(const void*)
{
    return TRUE;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char marker[MAX_PATH + 4] = "";
    const DWORD length = GetModuleFileNameA(instance, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    lstrcatA(marker, ".ran");
    const HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}
