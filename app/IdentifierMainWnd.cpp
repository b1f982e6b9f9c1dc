#include "app/IdentifierMainWnd.h"

#include "app/FixedTexts.h"
#include "app/res/ResourceIds.h"
#include "foundation/StructException.h"

CIdentifierMainWnd::CIdentifierMainWnd()
{
    className = kMainWindowClass;
    icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORTAG));
    smallIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORTAG));
}

LRESULT CIdentifierMainWnd::OnCreate(CREATESTRUCTA*)
{
    if (flags & kQuietFlag) {
        const int result = dialog.ChangeIdentifier();
        PostMessageA(handle, WM_CLOSE, 0, result);
    } else {
        ShowDialog();
    }
    return 0;
}

LRESULT CIdentifierMainWnd::OnClose()
{
    // Whoever closes this window names the exit code in lParam; the quiet change does.
    PostQuitMessage(static_cast<int>(currentMessage.lParam));
    return 0;
}

void CIdentifierMainWnd::ShowDialog()
{
    const DWORD error = dialog.ShowModeless(GetActiveWindow(), 0);
    if (error != 0) {
        // Without its dialog the tool would live on invisibly; end with the reason instead.
        CSystemException failure(error);
        failure.AddContext("CDlgBase::ShowModeless");
        throw CStructException(failure);
    }
    dialog.Show(SW_SHOW);   // with icons of its own scale
}
