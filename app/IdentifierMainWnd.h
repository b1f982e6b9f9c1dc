#pragma once
// The tool's hidden main window. It owns the dialog; in quiet mode it makes the change
// as soon as it exists and closes itself with the result.

#include "app/IdentifierDlg.h"
#include "window/WndBase.h"

class CIdentifierMainWnd : public CWndBase {
public:
    static constexpr int kQuietFlag = 1;

    CIdentifierMainWnd();
    // With a store of its own for the dialog (which must outlive the window object).
    explicit CIdentifierMainWnd(const CIdentifierStore& store);

    LRESULT OnCreate(CREATESTRUCTA* cs) override;
    LRESULT OnClose() override;

    CIdentifierDlg dialog;
    int flags = 0;

private:
    void ShowDialog();
};
