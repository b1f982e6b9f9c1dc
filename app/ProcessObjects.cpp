#include "app/ProcessObjects.h"

#include "app/FixedTexts.h"
#include "foundation/DynLibrary.h"
#include "foundation/OsVersion.h"

#include <shlobj.h>

namespace {

// Libraries come from the system folder only, from before the first object of any translation
// unit is built (the priority) to the end: also those that system code loads for the tool.
struct LibrarySearchRule {
    LibrarySearchRule() { RestrictLibrarySearchToSystemFolder(); }
};
const LibrarySearchRule g_librarySearchRule __attribute__((init_priority(101)));

}  // namespace

// One translation unit, so the order below is the order of construction. The operating
// system's version comes first: resolving the Windows folder depends on it.
static const COsVersion& g_osVersion = TheOsVersion();
CSysPaths g_windowsFolder(CSIDL_WINDOWS);
CSysPaths g_programFolder(FOLDER_MODULEDIR);
CSysPaths g_suiteFolder;
CStr g_settingsFile = g_windowsFolder.Combine(kSettingsFileName);
CIdentifierStore g_identifierStore;
