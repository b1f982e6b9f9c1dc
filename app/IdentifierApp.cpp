#include "app/IdentifierApp.h"

#include "app/FixedTexts.h"

bool CIdentifierApp::SelectsQuietMode(CKeyValueList& parameters)
{
    bool quiet = false;
    for (uint32_t i = 0; i < parameters.GetCount(); ++i)
        if (parameters.GetAt(i)->key.EqualsNoCase(kQuietSwitch))
            quiet = true;
    return quiet;
}

void CIdentifierApp::OnParameters()
{
    const bool quiet = SelectsQuietMode(m_parameters);
    mainWindow.flags = quiet ? CIdentifierMainWnd::kQuietFlag : 0;
    // Quiet runs are the unattended ones: started by a deployment tool or as SYSTEM, with
    // nobody to close a box, and judged by their exit code.
    m_unattended = quiet;
}

int CIdentifierApp::InitInstance()
{
    const DWORD error = mainWindow.Create(nullptr, nullptr);
    if (error == 0) {
        mainWindow.Update();
        mainWindow.Show(SW_HIDE);
    }
    return static_cast<int>(error);
}
