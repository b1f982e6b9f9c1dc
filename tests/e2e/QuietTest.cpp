#include "tests/e2e/ToolFixture.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchFiles.h"
#include "tests/support/ScratchKey.h"
#include "tools/driver/Controls.h"

#include <gtest/gtest.h>

namespace vortag_e2e {
namespace {

const char kKnownIdentifier[] = "{00000000-1111-2222-3333-444444444444-01DA0000-00000000}";

// The cmd lines that docs/admin.md gives admins (the fenced block that starts the tool with
// `start "" /wait`), made to start `tool` plainly, so that the test decides how it ends; empty
// when not found.
std::string AdminsCmdRecipe(const std::string& tool)
{
    const std::string admin = e2e::ReadWholeFile(std::string("Z:") + VORTAG_SOURCE_DIR + "/docs/admin.md");
    const std::string documented = "\"C:\\Program Files\\Nimbra\\vortag.exe\" QUIET";
    const size_t start = admin.find("start \"\" /wait");
    const size_t end = admin.find("```", start);
    std::string recipe = start == std::string::npos || end == std::string::npos ? "" : admin.substr(start, end - start);
    const size_t at = recipe.find(documented);
    return at == std::string::npos ? "" : recipe.replace(at, documented.size(), "\"" + tool + "\"");
}

}  // namespace

TEST_F(ToolTest, QuietChangesTheIdentifierStartsTheCollectorAndShowsNothing)
{
    InstallCollector();
    StoreIdentifier(kKnownIdentifier);
    EXPECT_EQ(RunInvisibly("/QUIET"), 0u);
    const std::string changed = StoredIdentifier();
    EXPECT_TRUE(HasIdentifierShape(changed)) << changed;
    EXPECT_NE(changed, kKnownIdentifier);
    EXPECT_EQ(WaitForCollectorRuns(suite.Path(), 1), std::vector<std::string>{"/DELFLAGS"});
}

TEST_F(ToolTest, QuietWithoutCollectorEndsWithFileNotFoundAfterTheChange)
{
    StoreIdentifier(kKnownIdentifier);
    EXPECT_EQ(RunInvisibly("QUIET"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_NE(StoredIdentifier(), kKnownIdentifier);
}

TEST_F(ToolTest, QuietFailedWriteEndsWithAccessDeniedAndStartsNoCollector)
{
    InstallCollector();
    StoreReadOnlyIdentifier(kKnownIdentifier);
    EXPECT_EQ(RunInvisibly("/QUIET"), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(StoredIdentifier(), kKnownIdentifier);
    EXPECT_FALSE(CollectorStarted(suite.Path()));
}

// A library the change needs that cannot be loaded fails it before anything is deleted.
TEST_F(ToolTest, QuietWithoutALibraryTheChangeNeedsKeepsTheOldIdentifier)
{
    InstallCollector();
    for (const char* library : {"rpcrt4", "shell32"}) {
        SCOPED_TRACE(library);
        StoreIdentifier(kKnownIdentifier);
        // Wine loads no such library for this program: as if it were missing.
        const ScratchKey overrides(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\vortag.exe\\DllOverrides");
        overrides.SetRaw(library, REG_SZ, "", 1);
        EXPECT_EQ(RunInvisibly("/QUIET"), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
        EXPECT_EQ(StoredIdentifier(), kKnownIdentifier);
    }
    EXPECT_TRUE(CollectorRuns(suite.Path()).empty());
}

// Nobody is at the screen to close a box in a quiet run: one that fails in start-up, inside the
// change with a failure that carries no code, or so that the runtime gives up, ends at once with a
// failure code and shows nothing. It is unattended from before the application is made until
// after it is gone, and the system shows no box of its own either (its error mode, added to the
// process's own, which Wine does not heed). (The tool's own run, made to fail by app_host.exe.)
TEST_F(ToolTest, QuietFailuresEndWithAFailureCodeAndShowNothing)
{
    for (const char* failure : {"START", "CHANGE", "DESTRUCTOR"}) {
        SCOPED_TRACE(failure);
        EXPECT_EQ(RunInvisibly(std::string("/QUIET /FAIL=") + failure, e2e::BesideProgram("app_host.exe")),
                  static_cast<DWORD>(ERROR_INTERNAL_ERROR));
    }
    EXPECT_EQ(e2e::ReadWholeFile(suite.PathOf("quiet-run.txt")),
              "made: unattended, error mode 0x8007\nchanging: unattended, error mode 0x8007\n"
              "ended: attended, error mode 0x8007\n");
}

// The admins' check, run by Wine's cmd against the real tool (started plainly, so that the test
// decides how it ends): it names a failure that cmd shows as a negative number, and says
// nothing after a success.
TEST_F(ToolTest, TheAdminsCmdRecipeCatchesEveryFailureAndOnlyFailures)
{
    const std::string recipe = AdminsCmdRecipe(tool);
    ASSERT_NE(recipe.find("%errorlevel%"), std::string::npos) << recipe;
    const ScratchFile script(suite.PathOf("recipe.cmd"), recipe);
    const struct {
        LPARAM closeCode;
        const char* said;
    } cases[] = {
        {static_cast<LPARAM>(static_cast<int>(EXCEPTION_ACCESS_VIOLATION)), "VORTAG failed with exit code -1073741819"},
        {0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        e2e::StartOptions options;
        options.arguments = "/q /c recipe.cmd > recipe.txt";   // echo off: only what the recipe says
        options.folder = suite.Path();
        e2e::Process cmd(WindowsFolder() + "\\system32\\cmd.exe", options);
        HWND main = nullptr;
        ASSERT_TRUE(e2e::PollUntil(e2e::kDefaultTimeoutMs, [&] { return (main = FindWindowA(kMainWindowClass, nullptr)); }));
        e2e::PostClose(main, c.closeCode);
        cmd.WaitForExit();
        const std::string said = e2e::ReadWholeFile(suite.PathOf("recipe.txt"));
        if (*c.said)
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
        else
            EXPECT_EQ(said.find("failed"), std::string::npos) << said;
    }
}

// Quiet mode is chosen by a switch whose key is QUIET in any case; the value does not count.
TEST_F(ToolTest, CommandLinesThatSelectQuietMode)
{
    InstallCollector();
    for (const char* arguments : {"/QUIET", "QUIET", "/quiet", " /Quiet ", "/x|/QUIET", "/QUIET=NO"}) {
        SCOPED_TRACE(arguments);
        StoreIdentifier(kKnownIdentifier);   // else a start without the switch would store one too
        EXPECT_EQ(RunInvisibly(arguments), 0u);
        EXPECT_NE(StoredIdentifier(), kKnownIdentifier);
    }
}

TEST_F(ToolTest, CommandLinesThatDoNotSelectQuietMode)
{
    for (const char* arguments : {"/QUIET=", "-QUIET", "/QUIETLY", "/QUIET=a=b", "/QUIET X", ""}) {
        SCOPED_TRACE(arguments);
        std::unique_ptr<e2e::Process> process;
        const HWND dialog = StartDialog(process, arguments);
        const std::string shown = StoredIdentifier();
        EXPECT_EQ(CloseDialog(dialog, *process), 0u);
        EXPECT_EQ(StoredIdentifier(), shown);
    }
}

}  // namespace vortag_e2e
