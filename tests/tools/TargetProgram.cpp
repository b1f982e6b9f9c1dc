// e2e_target: a small program for the driver's own tests, standing where the tool will stand.
// The first word of its command line picks what it does:
//   dialog    a modeless dialog (TargetIds.h) on a plain message loop, like the tool's: no
//             dialog keyboard handling, so Enter and Escape reach the focused control; WM_CLOSE
//             ends the program with its lParam as the exit code
//   hidden    a top-level window that is never shown; WM_CLOSE ends as above
//   flash     a top-level window "E2E Flash" shown and hidden at once; then ends with 0
//   stay      no window; runs until it is killed
//   language  ends at once with the user interface language as the exit code
#include "foundation/Report.h"
#include "tests/tools/TargetIds.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Distinct from every system colour, so a screenshot shows whether it caught the dialog.
const COLORREF kBackground = RGB(0, 128, 96);
HBRUSH g_background = nullptr;
int g_changes = 0;

std::string FirstWord(const char* commandLine)
{
    const char* end = std::strchr(commandLine, ' ');
    return end ? std::string(commandLine, static_cast<size_t>(end - commandLine)) : std::string(commandLine);
}

std::string StartDescription(const char* commandLine)
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    char mark[256] = "";
    GetEnvironmentVariableA("E2E_MARK", mark, sizeof mark);
    return std::string(commandLine) + "|" + folder + "|" + mark;
}

void SetStatus(HWND dialog, const char* format, int value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    SetDlgItemTextA(dialog, IDC_STATUS, text);
}

INT_PTR OnCommand(HWND dialog, int id)
{
    switch (id) {
    case IDC_CHANGE:
        SetStatus(dialog, "changed %d", ++g_changes);
        return TRUE;
    case IDC_BOX:
        SetStatus(dialog, "box answered %d",
                  ShowMessageBox(dialog, "Something to report", "E2E Target", MB_OK | MB_ICONWARNING));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_INPUT, "hello");
        SetDlgItemTextA(dialog, IDC_START, reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(g_background);
    case WM_COMMAND:
        return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE:
        DestroyWindow(dialog);
        PostQuitMessage(static_cast<int>(lParam));
        return TRUE;
    }
    return FALSE;
}

LRESULT CALLBACK HiddenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        PostQuitMessage(static_cast<int>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Records Enter and Escape with the id of the control they reached, in the order they came.
void RecordKey(HWND dialog, const MSG& message)
{
    const char* name = message.wParam == VK_RETURN ? "Enter" : message.wParam == VK_ESCAPE ? "Escape" : nullptr;
    if (!dialog || !name)
        return;
    char keys[512] = "";
    GetDlgItemTextA(dialog, IDC_KEYS, keys, sizeof keys);
    const size_t used = std::strlen(keys);
    std::snprintf(keys + used, sizeof keys - used, "%s%s@%d", used ? " " : "", name, GetDlgCtrlID(message.hwnd));
    SetDlgItemTextA(dialog, IDC_KEYS, keys);
}

int MessageLoop(HWND dialog)
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN)
            RecordKey(dialog, message);
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

int RunDialog(HINSTANCE instance, const char* commandLine)
{
    g_background = CreateSolidBrush(kBackground);
    const std::string description = StartDescription(commandLine);
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TARGET), nullptr, DialogProc,
                                     reinterpret_cast<LPARAM>(description.c_str()));
    return dialog ? MessageLoop(dialog) : static_cast<int>(GetLastError());
}

HWND CreateHidden(HINSTANCE instance, const char* title)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HiddenProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "E2ETargetHidden";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

int RunHidden(HINSTANCE instance)
{
    return CreateHidden(instance, "E2E Hidden") ? MessageLoop(nullptr) : static_cast<int>(GetLastError());
}

// Visible for no longer than the two calls take: no look at the screen can be sure to catch it.
int RunFlash(HINSTANCE instance)
{
    HWND window = CreateHidden(instance, "E2E Flash");
    if (!window)
        return static_cast<int>(GetLastError());
    ShowWindow(window, SW_SHOW);
    ShowWindow(window, SW_HIDE);
    DestroyWindow(window);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const std::string mode = FirstWord(commandLine);
    if (mode == "hidden")
        return RunHidden(instance);
    if (mode == "flash")
        return RunFlash(instance);
    if (mode == "stay")
        return static_cast<int>(WaitForSingleObject(GetCurrentProcess(), INFINITE));
    if (mode == "language")
        return GetUserDefaultUILanguage();
    return RunDialog(instance, commandLine);
}
