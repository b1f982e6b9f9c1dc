// The tool's entry point.

#include "app/FixedTexts.h"
#include "app/IdentifierApp.h"
#include "app/ProcessObjects.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return RunGuarded([commandLine](int& exitCode) {
        g_identifierStore.LoadSuiteFolder();
        const CStr mutexName(kMutexName);
        const CStr arguments(commandLine);
        const CStr title(kApplicationTitle);
        CIdentifierApp app(g_identifierStore, g_suiteFolder);
        exitCode = app.Run(title.data, arguments.data, 1, mutexName.data);
    });
}
