#pragma once
// The tool's application: "QUIET" on the command line, and the hidden main window.

#include "app/AppBase.h"
#include "app/IdentifierMainWnd.h"

class CIdentifierApp : public CAppBase {
public:
    // The dialog's store and suite folder: the process's own, handed down by WinMain; they must
    // outlive the application object.
    CIdentifierApp(const CIdentifierStore& store, const CSysPaths& suiteFolder) : mainWindow(store, suiteFolder) {}

    CIdentifierMainWnd mainWindow;

protected:
    // Quiet mode when any switch's key is "QUIET", whatever its case and value; a quiet run
    // shows no error box either.
    void OnParameters() override;
    // Creates the hidden main window, which makes the quiet change or shows the dialog.
    int InitInstance() override;
};

// The entry point's outer guard: runs `body`, which stores the exit code as it goes. An
// exception that escapes it ends with the code stored so far, or with kFailureWithoutCode
// when that is still 0: a failure must not read as success.
template <typename TBody>
int RunGuarded(TBody&& body)
{
    int exitCode = 0;
    try {
        body(exitCode);
    } catch (...) {
        if (exitCode == 0)
            exitCode = kFailureWithoutCode;
    }
    return exitCode;
}
