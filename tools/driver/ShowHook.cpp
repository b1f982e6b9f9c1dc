// e2e_show_hook.dll: the hook procedure that a ShowRecorder installs for the whole desktop
// (WH_CALLWNDPROC). The system loads this library into every process there that handles a sent
// message and calls the procedure in that process before each window procedure; it records the
// top-level windows being shown in the recorder's block (ShownWindowLog.h).
//
// It runs inside programs it knows nothing about, so it is built without the C runtime and keeps
// no state (ShownWindowLog.h), and every call in it reads window data without sending a message.

#include "tools/driver/ShownWindowLog.h"

namespace {

// WM_SHOWWINDOW comes with ShowWindow; SetWindowPos shows without it.
bool IsShowOfTopLevelWindow(const CWPSTRUCT& message)
{
    const bool shows =
        (message.message == WM_SHOWWINDOW && message.wParam) ||
        (message.message == WM_WINDOWPOSCHANGING &&
         (reinterpret_cast<const WINDOWPOS*>(message.lParam)->flags & SWP_SHOWWINDOW));
    return shows && !(GetWindowLongW(message.hwnd, GWL_STYLE) & WS_CHILD);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK RecordShownWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION) {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (IsShowOfTopLevelWindow(message))
            e2e::RecordInOpenLog(e2e::kShownWindowLogName, message.hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The entry point in place of the C runtime's: nothing to set up or tear down.
extern "C" BOOL WINAPI ShowHookEntry(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
