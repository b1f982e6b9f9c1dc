// show_watch_hook.dll: the hook procedure of the lock check (LockCheck.h), installed for the whole
// desktop like the driver's show hook (tools/driver/ShowHook.cpp says what that asks of it). It
// records each top-level window that a process shows into the block that the process's
// environment names, if any: the block of the test that started the process.
//
// It runs after the window procedure (WH_CALLWNDPROCRET) and counts a window as shown when it is
// visible once a change of its position is through, which every show ends with. It reads neither
// message's parameters: tests send these messages with made-up ones too.

#include "tools/driver/ShownWindowLog.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK WatchShownWindow(int code, WPARAM wParam, LPARAM lParam)
{
    const auto& message = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message.message == WM_WINDOWPOSCHANGED &&
        (GetWindowLongW(message.hwnd, GWL_STYLE) & (WS_VISIBLE | WS_CHILD)) == WS_VISIBLE) {
        char block[64] = "";
        const DWORD length = GetEnvironmentVariableA("VORTAG_SHOW_WATCH", block, sizeof block);
        if (length && length < sizeof block)
            e2e::RecordInOpenLog(block, message.hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The entry point in place of the C runtime's: nothing to set up or tear down.
extern "C" BOOL WINAPI ShowWatchEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
