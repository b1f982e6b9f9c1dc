#pragma once
// The tool's one dialog: shows the stored agent identifier and replaces it on CHANGE.

#include "foundation/Str.h"
#include "window/DlgBase.h"

class CIdentifierDlg : public CDlgBase {
public:
    CIdentifierDlg();   // reads the stored identifier, storing a fresh one when none is
    ~CIdentifierDlg() override;

    // Replaces the stored identifier, shows the new one and starts the collector.
    // 0 on success, else the failure value that becomes the exit code. Works with or
    // without the dialog window.
    int ChangeIdentifier();

    // The outcome of ShellExecuteA as a result: 0 when the collector started, otherwise
    // the failure value (never 0).
    static int CollectorStartResult(INT_PTR shellExecuteResult);

    BOOL OnInitDialog() override;
    LRESULT OnCommand(int id, int code, HWND control) override;
    LRESULT OnCtlColor(HDC dc, HWND control, UINT message) override;
    LRESULT OnDestroy() override;

private:
    void ShowLabel(int controlId, uint32_t stringId);

    HBRUSH m_editBrush = nullptr;
    HBRUSH m_backgroundBrush = nullptr;
    CStr m_currentIdentifier;
    int m_result = 0;
};
