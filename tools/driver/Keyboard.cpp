#include "tools/driver/Keyboard.h"

#include "tools/driver/DriverError.h"
#include "tools/driver/TopWindows.h"

namespace e2e {

namespace {

// The window with the keyboard focus in the thread that owns `window` (null when none).
HWND FocusOfThreadOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

}  // namespace

HWND PressKey(HWND dialog, WORD virtualKey, unsigned timeoutMs)
{
    if (!PollUntil(timeoutMs, [&] { return SetForegroundWindow(dialog) && GetForegroundWindow() == dialog; }))
        Fail("%s did not become the foreground window within %u ms; the foreground is %s",
             DescribeWindow(dialog).c_str(), timeoutMs, DescribeWindow(GetForegroundWindow()).c_str());
    HWND focus = nullptr;
    if (!PollUntil(timeoutMs, [&] {
            focus = FocusOfThreadOf(dialog);
            return focus && (focus == dialog || IsChild(dialog, focus));
        }))
        Fail("no control of %s got the keyboard focus within %u ms", DescribeWindow(dialog).c_str(), timeoutMs);

    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = virtualKey;
    keys[0].ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, keys, sizeof(INPUT)) != 2)
        FailWithLastError(Format("SendInput of key 0x%02X", virtualKey));
    return focus;
}

}  // namespace e2e
