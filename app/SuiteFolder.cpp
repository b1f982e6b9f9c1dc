#include "app/IdentifierStore.h"

#include "app/FixedTexts.h"
#include "app/ProcessObjects.h"
#include "foundation/IniFile.h"
#include "foundation/RegistryKey.h"

// The suite folder, in order of preference: the settings file, the suite's setup key (where the
// suite's 32-bit installer writes it), the tool's own folder; a leading folder macro such as
// "(PROG)" is expanded.
CStr CIdentifierStore::LoadSuiteFolder() const
{
    g_suiteFolder.SetPath(ReadIniString(g_settingsFile, kSettingsSection, kSettingsKey, ""));
    if (g_suiteFolder.GetPath().EqualsNoCase("")) {
        try {
            CRegistryKey setup;
            setup.Open(HKEY_LOCAL_MACHINE, kSetupKey, 0, KEY_READ | kRegistryView32);
            g_suiteFolder.SetPath(setup.GetString(kSetupValue));
            setup.Close();
        } catch (...) {
            // No setup key or value: the next source is tried.
        }
    }
    if (g_suiteFolder.GetPath().EqualsNoCase(""))
        g_suiteFolder.SetPath(g_programFolder.GetPath());
    g_suiteFolder.ExpandMacros();
    return g_suiteFolder.GetPath();
}
