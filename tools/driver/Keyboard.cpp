#include "tools/driver/Keyboard.h"

#include "tools/driver/DriverError.h"
#include "tools/driver/TopWindows.h"

namespace e2e {

namespace {

INPUT KeyInput(WORD virtualKey, DWORD flags)
{
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    key.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    key.ki.dwFlags = flags;
    return key;
}

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

HWND PressKey(HWND dialog, WORD virtualKey, WORD modifier, unsigned timeoutMs)
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

    INPUT keys[4] = {KeyInput(modifier, 0), KeyInput(virtualKey, 0), KeyInput(virtualKey, KEYEVENTF_KEYUP),
                     KeyInput(modifier, KEYEVENTF_KEYUP)};
    INPUT* first = modifier ? keys : keys + 1;
    const UINT count = modifier ? 4 : 2;
    if (SendInput(count, first, sizeof(INPUT)) != count)
        FailWithLastError(Format("SendInput of key 0x%02X with 0x%02X", virtualKey, modifier));
    return focus;
}

void WaitForFocus(HWND control, unsigned timeoutMs)
{
    HWND focus = nullptr;
    if (!PollUntil(timeoutMs, [&] { return (focus = FocusOfThreadOf(control)) == control; }))
        Fail("%s did not get the keyboard focus within %u ms; %s has it", DescribeWindow(control).c_str(), timeoutMs,
             DescribeWindow(focus).c_str());
}

}  // namespace e2e
