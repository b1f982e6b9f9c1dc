#include "app/IdentifierMainWnd.h"

#include "app/FixedTexts.h"
#include "app/res/ResourceIds.h"
#include "foundation/StructException.h"

CIdentifierMainWnd::CIdentifierMainWnd(const CIdentifierStore& store, const CSysPaths& suiteFolder,
                                       CRunOutcome& outcome)
    : dialog(store, suiteFolder, outcome), m_outcome(outcome)
{
    className = kMainWindowClass;
    icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORTAG));
    smallIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_VORTAG));
}

LRESULT CIdentifierMainWnd::OnCreate(CREATESTRUCTA*)
{
    if (flags & kQuietFlag)
        CloseWithExitCode(dialog.ChangeIdentifier());
    else
        ShowDialog();
    return 0;
}

void CIdentifierMainWnd::CloseWithExitCode(int exitCode)
{
    PostMessageA(handle, WM_CLOSE, 0, exitCode);
}

LRESULT CIdentifierMainWnd::OnClose()
{
    m_outcome.End(static_cast<int>(currentMessage.lParam));
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
