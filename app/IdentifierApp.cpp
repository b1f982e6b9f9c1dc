#include "app/IdentifierApp.h"

#include "app/FixedTexts.h"

void CIdentifierApp::OnParameters()
{
    bool quiet = false;
    for (uint32_t i = 0; i < m_parameters.GetCount(); ++i)
        if (m_parameters.GetAt(i)->key.EqualsNoCase(kQuietSwitch))
            quiet = true;
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
