// Floor 1 of the start-up benchmark: the tool's dialog template and nothing else. It shows the
// dialog with CreateDialogParamA and runs a message loop; the only other call is the title,
// without which the benchmark could not find the dialog by the title it looks for.
#include "foundation/Win32.h"

#include "app/FixedTexts.h"
#include "app/res/ResourceIds.h"

namespace {

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, kApplicationTitle);
        return TRUE;
    case WM_COMMAND:
        // CLOSE ends the program, as in the tool; the benchmark closes every run this way.
        if (LOWORD(wParam) == IDC_CLOSE)
            DestroyWindow(dialog);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The template is WS_VISIBLE: the dialog shows as soon as it is created.
    if (!CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_IDENTIFIER), nullptr, FloorDialogProc, 0))
        return static_cast<int>(GetLastError());
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
