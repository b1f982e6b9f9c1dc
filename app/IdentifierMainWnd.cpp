#include "app/IdentifierMainWnd.h"

#include "app/AppBase.h"
#include "app/FixedTexts.h"
#include "app/ProcessObjects.h"
#include "app/res/ResourceIds.h"
#include "foundation/StructException.h"

CIdentifierMainWnd::CIdentifierMainWnd() : CIdentifierMainWnd(g_identifierStore) {}

CIdentifierMainWnd::CIdentifierMainWnd(const CIdentifierStore& store) : dialog(store)
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
    // Whoever closes this window names the exit code in lParam; the quiet change does. A close
    // that names none (every top-level window of the process closed politely, say) ends with
    // the outcome of the last change, so that a failed one does not end with 0.
    const int named = static_cast<int>(currentMessage.lParam);
    CAppBase::EndRun(named != 0 ? named : dialog.Result());
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
