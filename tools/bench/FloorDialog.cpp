#include "tools/bench/FloorDialog.h"

#include "app/res/ResourceIds.h"

namespace {

HBRUSH g_editBrush = nullptr;
HBRUSH g_backgroundBrush = nullptr;

}  // namespace

INT_PTR EndLikeTheTool(HWND dialog, UINT message, WPARAM wParam)
{
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    else if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDC_CLOSE))
        DestroyWindow(dialog);
    return message == WM_DESTROY || message == WM_CLOSE || message == WM_COMMAND;
}

// The tool's colours (app/IdentifierDlg.cpp): white, and a light grey.
void MakeTheToolsBrushes()
{
    g_editBrush = CreateSolidBrush(RGB(255, 255, 255));
    g_backgroundBrush = CreateSolidBrush(RGB(240, 240, 240));
}

INT_PTR ColourLikeTheTool(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Five of the colour messages; push buttons (WM_CTLCOLORBTN) keep the system's colours.
    if (message < WM_CTLCOLOREDIT || message > WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN)
        return 0;
    SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    const bool field = message == WM_CTLCOLORSTATIC && (id == IDC_CURRENT_IDENTIFIER || id == IDC_NEW_IDENTIFIER);
    return reinterpret_cast<INT_PTR>(field ? g_editBrush : g_backgroundBrush);
}

int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
