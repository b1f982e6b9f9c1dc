// The tool's entry point.

#include "app/ToolMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    return RunTool<CIdentifierApp>(commandLine, g_identifierStore, g_suiteFolder);
}
