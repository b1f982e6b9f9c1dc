#pragma once
// The tool's one dialog: shows the stored agent identifier and replaces it on CHANGE.

#include "app/RunOutcome.h"
#include "foundation/Owned.h"
#include "foundation/Str.h"
#include "window/DlgBase.h"

#include <shellapi.h>

class CIdentifierStore;
class CStructException;
class CSysPaths;

class CIdentifierDlg : public CDlgBase {
public:
    // Reads the identifier that `store` keeps, which stores a fresh one when none is; a change
    // starts the collector in `suiteFolder` and goes into the run's `outcome`, with which the
    // dialog's end ends the run. All three must outlive the dialog.
    CIdentifierDlg(const CIdentifierStore& store, const CSysPaths& suiteFolder, CRunOutcome& outcome);

    // Replaces the stored identifier, shows the new one and starts the collector; a failure
    // shows in the new identifier's row, and the current field lets go of an identifier that
    // the failure left deleted. 0 on success, else the failure value (never 0); either is also
    // the change's outcome in the run's. An exception of a foreign kind goes on to the caller,
    // and the outcome says the change failed. Works with or without the dialog window.
    int ChangeIdentifier();

    // How the collector `file` is started (ShellExecuteExA): "open" with its switch, shown
    // normally, owned by `owner`.
    static SHELLEXECUTEINFOA CollectorStart(HWND owner, const char* file);
    // The outcome of the start (its hInstApp) as a result: 0 when the collector started,
    // otherwise the failure value (never 0).
    static int CollectorStartResult(INT_PTR shellExecuteResult);

    BOOL OnInitDialog() override;
    LRESULT OnCommand(int id, int code, HWND control) override;
    LRESULT OnCtlColor(HDC dc, HWND control, UINT message) override;
    LRESULT OnDestroy() override;
    // WM_DPICHANGED: the images of the new scale, once the system has laid the dialog out anew.
    LRESULT OnOtherMessage() override;
    LRESULT OnAppMessage() override;

private:
    void ShowLabel(int controlId, uint32_t stringId);
    void ShowArtwork(UINT dpi);
    void ShowIcon(WPARAM kind, int size, COwnedIcon& shown);
    void ShowFailure(const CStructException& failure, int result, bool identifierGone);
    void ShowCollectorNotStarted(int result);

    const CIdentifierStore& m_store;
    const CSysPaths& m_suiteFolder;
    CRunOutcome& m_outcome;
    COwnedGdiObject<HBRUSH> m_editBrush;
    COwnedGdiObject<HBRUSH> m_backgroundBrush;
    COwnedIcon m_smallIcon;
    COwnedIcon m_bigIcon;
    CStr m_currentIdentifier;
};
