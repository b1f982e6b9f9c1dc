#include "app/ToolMain.h"

#include "foundation/Report.h"

CQuietRun::CQuietRun(const char* commandLine) : m_wasUnattended(IsUnattended())
{
    CKeyValueList parameters;
    CAppBase::ParseCommandLine(commandLine, parameters);
    if (!CIdentifierApp::SelectsQuietMode(parameters))
        return;
    SetUnattended(true);
    AddErrorMode(kErrorMode);
}

CQuietRun::~CQuietRun()
{
    SetUnattended(m_wasUnattended);
}
