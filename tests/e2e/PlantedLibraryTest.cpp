// Libraries that someone puts beside the tool under system libraries' names never run in it.
#include "tests/e2e/ToolFixture.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchKey.h"
#include "tools/driver/PeFile.h"

#include <psapi.h>

namespace vortag_e2e {
namespace {

const char kKnownIdentifier[] = "{0A1B2C3D-4E5F-4061-8293-A4B5C6D7E8F9-01DA0000-00000000}";

// What the tool loads or once imported: COMCTL32 for the controls, SHELL32 to start the
// collector, RPCRT4 for the UUID; and UXTHEME, which the system's window code loads for the
// tool by name (the process-wide rule keeps that one in the system folder).
const char* const kPlantedNames[] = {"COMCTL32.DLL", "SHELL32.DLL", "RPCRT4.DLL", "UXTHEME.DLL"};

// The only libraries the tool may import. Each is a "known DLL" (the session manager's
// KnownDLLs list) on every Windows from Vista to 11, which the loader maps from the system
// folder and never looks for beside the program; msvcrt is one too. COMCTL32 is not (it comes
// in side-by-side versions). A name added here must be a known DLL on the oldest of them.
const char* const kKnownSystemLibraries[] = {"ADVAPI32.DLL", "GDI32.DLL", "KERNEL32.DLL", "MSVCRT.DLL", "USER32.DLL"};

bool IsKnownSystemLibrary(const std::string& name)
{
    for (const char* known : kKnownSystemLibraries)
        if (_stricmp(known, name.c_str()) == 0)
            return true;
    return false;
}

// The full paths of the modules loaded in the process.
std::vector<std::string> Modules(const e2e::Process& process)
{
    HMODULE modules[512];
    DWORD bytes = 0;
    std::vector<std::string> paths;
    EnumProcessModules(process.Handle(), modules, sizeof modules, &bytes);
    for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
        char path[MAX_PATH] = "";
        GetModuleFileNameExA(process.Handle(), modules[i], path, sizeof path);
        paths.push_back(path);
    }
    return paths;
}

bool LoadedFromSystemFolder(const e2e::Process& process, const std::string& name)
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, sizeof folder);
    const std::string expected = std::string(folder) + "\\" + name;
    for (const std::string& path : Modules(process))
        if (_stricmp(path.c_str(), expected.c_str()) == 0)
            return true;
    return false;
}

// Stand-ins of the libraries beside the tool, and Wine told to prefer them to its own builtin
// copies for the tool: then Wine looks for them as Windows looks for a library that is not a
// known DLL, beside the program first. Each leaves "<name>.ran" when loaded.
class PlantedLibraryTest : public ToolTest {
protected:
    void SetUp() override
    {
        ToolTest::SetUp();
        InstallCollector();
        const std::string overrides = wineAppDefaults.Path() + "\\DllOverrides";
        for (const std::string name : kPlantedNames) {
            ASSERT_TRUE(CopyFileA(e2e::BesideProgram("PlantedLibrary.dll").c_str(), suite.PathOf(name).c_str(), FALSE));
            const std::string library = name.substr(0, name.size() - 4);   // without ".DLL"
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, overrides.c_str(), library.c_str(), REG_SZ, "native,builtin",
                                      sizeof "native,builtin"),
                      ERROR_SUCCESS);
        }
    }

    std::vector<std::string> RanStandIns() const
    {
        std::vector<std::string> ran;
        for (const std::string name : kPlantedNames)
            if (GetFileAttributesA(suite.PathOf(name + ".ran").c_str()) != INVALID_FILE_ATTRIBUTES)
                ran.push_back(name);
        return ran;
    }

    ScratchKey wineAppDefaults{HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\vortag.exe"};
};

}  // namespace

// What is shipped: stripped, at most 300 KiB, and importing known DLLs only.
TEST(ToolImage, IsStrippedSmallAndImportsOnlyKnownSystemLibraries)
{
    const e2e::PeFacts tool = e2e::ReadPeFacts(e2e::BesideProgram("vortag.exe"));
    EXPECT_TRUE(tool.stripped);
    EXPECT_LE(tool.bytes, 300u * 1024);
    EXPECT_FALSE(tool.imports.empty());
    for (const std::string& name : tool.imports)
        EXPECT_TRUE(IsKnownSystemLibrary(name)) << name << " is no known DLL: Windows looks for it beside the tool first";
}

TEST_F(PlantedLibraryTest, QuietChangeRunsNoneOfThem)
{
    StoreIdentifier(kKnownIdentifier);
    EXPECT_EQ(RunInvisibly("QUIET"), 0u);
    EXPECT_TRUE(HasIdentifierShape(StoredIdentifier())) << StoredIdentifier();
    EXPECT_NE(StoredIdentifier(), kKnownIdentifier);
    EXPECT_EQ(WaitForCollectorRuns(suite.Path(), 1), std::vector<std::string>{"/DELFLAGS"});
    EXPECT_EQ(RanStandIns(), std::vector<std::string>{});
}

TEST_F(PlantedLibraryTest, DialogUsesTheSystemsCommonControlsAndChangeRunsNoneOfThem)
{
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    EXPECT_TRUE(LoadedFromSystemFolder(*process, "COMCTL32.DLL")) << ::testing::PrintToString(Modules(*process));
    const std::string shown = StoredIdentifier();
    const std::string changed = Change(dialog);
    EXPECT_TRUE(HasIdentifierShape(changed)) << changed;
    EXPECT_NE(changed, shown);
    EXPECT_EQ(StoredIdentifier(), changed);
    EXPECT_EQ(WaitForCollectorRuns(suite.Path(), 1), std::vector<std::string>{"/DELFLAGS"});
    EXPECT_EQ(CloseDialog(dialog, *process), 0u);
    EXPECT_EQ(RanStandIns(), std::vector<std::string>{});
}

}  // namespace vortag_e2e
