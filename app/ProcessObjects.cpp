#include "app/ProcessObjects.h"

#include "app/FixedTexts.h"
#include "foundation/OsVersion.h"

#include <shlobj.h>

// One translation unit, so the order below is the order of construction. The operating
// system's version comes first: resolving the Windows folder depends on it.
static const COsVersion& g_osVersion = TheOsVersion();
CSysPaths g_windowsFolder(CSIDL_WINDOWS);
CSysPaths g_programFolder(FOLDER_MODULEDIR);
CSysPaths g_suiteFolder;
CStr g_settingsFile = g_windowsFolder.Combine(kSettingsFileName);
CIdentifierStore g_identifierStore;
