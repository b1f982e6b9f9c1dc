// Keeps the Wine prefix's desktop open for a whole test run (scripts/ctest-under-wine.sh starts
// it; stopping the wineserver ends it).
//
// Wine closes the desktop, and its explorer.exe, a second after the last program that uses it
// ends, and the next program with a window starts explorer.exe again. Run by run, that costs each
// test with a window about a second; a test program that starts explorer.exe hands it its own
// output, so CTest waits for that test until explorer.exe ends, which takes as long as other
// tests keep the desktop busy. This program's hidden window starts the desktop once, before any
// test, and it stays until the run ends. It says "ready" on its output once the desktop is there.
#include "foundation/Win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // A top-level window needs the desktop window; Wine starts explorer.exe for it if need be.
    if (!CreateWindowExA(0, "STATIC", "keep_desktop", 0, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr))
        return static_cast<int>(GetLastError());
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "ready\n", 6, &written, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
