#pragma once
// The tool's hidden main window. It owns the dialog; in quiet mode it makes the change
// as soon as it exists and closes itself with the result.
//
// Closing this window ends the tool, with the exit code that WM_CLOSE carries in lParam (0: the
// run's outcome so far): CloseWithExitCode sends it, OnClose takes it. That is the window's
// contract with other programs too, and the quiet change goes the same way rather than ending
// the run itself, so that the quit comes from the loop once the window's creation is complete.

#include "app/IdentifierDlg.h"
#include "window/WndBase.h"

class CIdentifierMainWnd : public CWndBase {
public:
    static constexpr int kQuietFlag = 1;

    // The dialog's store and suite folder, and the outcome of the run that closing the window
    // ends; they must outlive the window object.
    CIdentifierMainWnd(const CIdentifierStore& store, const CSysPaths& suiteFolder, CRunOutcome& outcome);

    LRESULT OnCreate(CREATESTRUCTA* cs) override;
    LRESULT OnClose() override;

    void CloseWithExitCode(int exitCode);

    CIdentifierDlg dialog;
    int flags = 0;

private:
    void ShowDialog();

    CRunOutcome& m_outcome;
};
