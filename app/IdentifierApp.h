#pragma once
// The tool's application: "QUIET" on the command line, and the hidden main window.

#include "app/AppBase.h"
#include "app/IdentifierMainWnd.h"

class CIdentifierApp : public CAppBase {
public:
    void OnParameters() override;
    int InitInstance() override;

    CIdentifierMainWnd mainWindow;
};
