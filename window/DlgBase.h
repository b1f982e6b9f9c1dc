#pragma once
// Base class of dialogs made from a dialog template of the module.
//
// The dialog manager does the default processing: DefaultProc answers 0 (not handled), so
// whatever a derived dialog leaves alone ends there. A dialog counts as modal until
// ShowModeless has run on it; a modeless dialog's window goes with the object.

#include "window/MsgHandler.h"
#include "window/WndHandle.h"

class CDlgBase : public CWndHandle, public CMsgHandler {
public:
    CDlgBase() = default;
    ~CDlgBase() override;

    // Creates and shows the dialog, owned by `parent`; `initParam` is WM_INITDIALOG's
    // lParam. 0, or the system's error code.
    DWORD ShowModeless(HWND parent, LPARAM initParam);
    // EndDialog for a modal dialog, Destroy for a modeless one; that call's result.
    BOOL Close(int result);

    // WM_INITDIALOG: nonzero lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Turns WM_INITDIALOG into OnInitDialog; everything else goes to OnOtherMessage.
    LRESULT OnMessage() override;
    LRESULT DefaultProc() override;
    LRESULT OnClose() override;

    int templateId = 0;   // set by the derived constructor; a 16-bit resource number
    BOOL modal = 1;
};
