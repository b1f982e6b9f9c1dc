#pragma once
// The tool's application: "QUIET" on the command line, and the hidden main window.

#include "app/AppBase.h"
#include "app/IdentifierMainWnd.h"

class CIdentifierApp : public CAppBase {
public:
    // The dialog's store and suite folder: the process's own, handed down by WinMain; they must
    // outlive the application object.
    CIdentifierApp(const CIdentifierStore& store, const CSysPaths& suiteFolder) : mainWindow(store, suiteFolder, Outcome()) {}

    CIdentifierMainWnd mainWindow;

    // Whether the switches select quiet mode: any key is "QUIET", whatever its case and value.
    static bool SelectsQuietMode(CKeyValueList& parameters);

protected:
    // Quiet mode when the switches select it; a quiet run shows no error box either.
    void OnParameters() override;
    // Creates the hidden main window, which makes the quiet change or shows the dialog.
    int InitInstance() override;
};
