#include "window/DlgBase.h"

#include "foundation/CarriedException.h"
#include "foundation/StructException.h"
#include "window/WndMap.h"
#include "window/WndProcs.h"

CDlgBase::~CDlgBase()
{
    if (modal)
        return;
    // The derived part is gone already: the WM_DESTROY and WM_NCDESTROY sent now reach the
    // handlers of this class.
    DestroyWithObject();
}

DWORD CDlgBase::ShowModeless(HWND parent, LPARAM initParam)
{
    modal = 0;
    // The dialog's first message, inside CreateDialogParamA, binds it to this entry.
    g_wndMap.Add(WndMapEntry{this, GetCurrentThreadId()});
    CCarryScope creation;
    const HWND created = CreateDialogParamA(instance, MAKEINTRESOURCEA(static_cast<WORD>(templateId)),
                                            parent, InitialDlgProc, initParam);
    const DWORD error = ConcludeCreation(created, creation);
    if (error != 0) {
        // Nobody is told: the caller gets the code.
        // Kept on purpose: docs/compatibility.md, "Reports built and dropped".
        CSystemException failure(error);
        failure.AddContext("CDlgBase::ShowModeless");
        const CStr dropped = failure.GetReport();
        return error;
    }
    Show(SW_SHOW);
    return 0;
}

BOOL CDlgBase::Close(int result)
{
    return modal ? EndDialog(handle, result) : Destroy();
}

BOOL CDlgBase::OnInitDialog()
{
    return 1;
}

LRESULT CDlgBase::OnMessage()
{
    return currentMessage.message == WM_INITDIALOG ? OnInitDialog() : OnOtherMessage();
}

LRESULT CDlgBase::DefaultProc()
{
    return 0;
}

LRESULT CDlgBase::OnClose()
{
    if (!Close(0))
        Destroy();
    return 0;
}
