// Floor 1 of the start-up benchmark: the tool's dialog template and nothing else. It shows the
// dialog with CreateDialogParamA and runs a message loop; the only other call is the title,
// without which the benchmark could not find the dialog by the title it looks for.
#include "tools/bench/FloorDialog.h"

#include "app/FixedTexts.h"
#include "app/res/ResourceIds.h"

namespace {

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_INITDIALOG)
        return EndLikeTheTool(dialog, message, wParam);
    SetWindowTextA(dialog, kApplicationTitle);
    return TRUE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // The template is WS_VISIBLE: the dialog shows as soon as it is created.
    if (!CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_IDENTIFIER), nullptr, FloorDialogProc, 0))
        return static_cast<int>(GetLastError());
    return RunMessageLoop();
}
