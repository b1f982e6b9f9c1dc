#include "tests/e2e/ToolFixture.h"

#include "foundation/RegistryKey.h"
#include "tools/driver/Files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace vortag_e2e {
namespace {

void InstallCollectorIn(const e2e::ScratchFolder& folder)
{
    folder.CopyIn(e2e::BesideProgram("Brevast.exe"));
}

void WriteSettingsFile(const std::string& path)
{
    std::ofstream((WindowsFolder() + "\\QTFile.ini").c_str()) << "[SUITE]\r\nPath=" << path << "\r\n";
}

// The suite's setup value in one registry view; by default where the suite's 32-bit installer
// writes it.
void SetSetupPath(const std::string& path, REGSAM view = kRegistryView32)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nimbra\\Setup", 0, nullptr, 0, KEY_SET_VALUE | view,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                             static_cast<DWORD>(path.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

}  // namespace

TEST_F(ToolTest, SettingsFilePathWithAFolderMacroComesFirst)
{
    InstallCollector();
    const e2e::ScratchFolder fromSettings(WindowsFolder() + "\\vortag-suite"), fromSetup;
    InstallCollectorIn(fromSettings);
    InstallCollectorIn(fromSetup);
    WriteSettingsFile("(WIN)\\vortag-suite");
    SetSetupPath(fromSetup.Path());
    EXPECT_EQ(RunInvisibly("/QUIET"), 0u);
    EXPECT_EQ(WaitForCollectorRuns(fromSettings.Path(), 1), std::vector<std::string>{"/DELFLAGS"});
    EXPECT_TRUE(CollectorRuns(fromSetup.Path()).empty());
    EXPECT_TRUE(CollectorRuns(suite.Path()).empty());
}

// On 64-bit Windows the 32-bit view is the suite's: a path in the 64-bit view is nobody's. (With
// one view only, the second write replaces the first.)
TEST_F(ToolTest, SetupKeyPathOfThe32BitViewComesBeforeTheToolsOwnFolder)
{
    InstallCollector();
    const e2e::ScratchFolder fromSetup, from64BitView;
    InstallCollectorIn(fromSetup);
    InstallCollectorIn(from64BitView);
    SetSetupPath(from64BitView.Path(), KEY_WOW64_64KEY);
    SetSetupPath(fromSetup.Path());
    EXPECT_EQ(RunInvisibly("/QUIET"), 0u);
    EXPECT_EQ(WaitForCollectorRuns(fromSetup.Path(), 1), std::vector<std::string>{"/DELFLAGS"});
    EXPECT_TRUE(CollectorRuns(suite.Path()).empty());
    EXPECT_TRUE(CollectorRuns(from64BitView.Path()).empty());
}

TEST_F(ToolTest, SettingsFileWithoutSuitePathFallsBackToTheToolsOwnFolder)
{
    InstallCollector();
    std::ofstream((WindowsFolder() + "\\QTFile.ini").c_str()) << "[OTHER]\r\nPath=C:\\nowhere\r\n";
    EXPECT_EQ(RunInvisibly("/QUIET"), 0u);
    EXPECT_EQ(WaitForCollectorRuns(suite.Path(), 1), std::vector<std::string>{"/DELFLAGS"});
}

}  // namespace vortag_e2e
