#pragma once
// The process-wide objects, built before WinMain in the order of their definitions in
// ProcessObjects.cpp and destroyed after it in reverse.

#include "app/IdentifierStore.h"
#include "foundation/SysPaths.h"

extern CSysPaths g_windowsFolder;    // where the settings file lives
extern CSysPaths g_programFolder;    // the folder of the tool's own executable
extern CSysPaths g_suiteFolder;      // where the collector lives; filled by LoadSuiteFolder
extern CStr g_settingsFile;          // QTFile.ini in the Windows folder
extern CIdentifierStore g_identifierStore;
