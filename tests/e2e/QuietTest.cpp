#include "tests/e2e/ToolFixture.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchFiles.h"
#include "tests/support/ScratchKey.h"
#include "tools/driver/Controls.h"

#include <gtest/gtest.h>

namespace vortag_e2e {
namespace {

const char kKnownIdentifier[] = "{00000000-1111-2222-3333-444444444444-01DA0000-00000000}";

const char kDocumentedTool[] = "\"C:\\Program Files\\Nimbra\\vortag.exe\"";

// The fenced block of docs/admin.md that holds `text`; empty when there is none.
std::string AdminsBlockHolding(const std::string& text)
{
    const std::string admin = e2e::ReadWholeFile(std::string("Z:") + VORTAG_SOURCE_DIR + "/docs/admin.md");
    const size_t at = admin.find(text);
    const size_t start = at == std::string::npos ? at : admin.find('\n', admin.rfind("```", at));
    const size_t end = admin.find("```", at);
    return start == std::string::npos || end == std::string::npos ? "" : admin.substr(start + 1, end - start - 1);
}

// `text` with `from` replaced by `to`; empty when `from` is not in it.
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const size_t at = text.find(from);
    return at == std::string::npos ? "" : text.replace(at, from.size(), to);
}

// The cmd lines that docs/admin.md gives admins (the block that starts the tool with
// `start "" /wait`), made to start `tool` plainly, so that the test decides how it ends.
std::string AdminsCmdRecipe(const std::string& tool)
{
    return Replaced(AdminsBlockHolding("start \"\" /wait"), std::string(kDocumentedTool) + " QUIET",
                    "\"" + tool + "\"");
}

// The admins' run-once guard (the block that asks `reg query` for the marker), made to start
// `tool` and to keep its marker under HKEY_CURRENT_USER\`markerKey`.
std::string AdminsGuard(const std::string& tool, const std::string& markerKey)
{
    return Replaced(Replaced(AdminsBlockHolding("reg query"), kDocumentedTool, "\"" + tool + "\""),
                    "HKLM\\Software\\ExampleOrg\\Deployment", "HKCU\\" + markerKey);
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

// The admins' run-once guard, run by Wine's cmd against the real tool, run after run on one
// machine: a run whose change fails leaves no marker, so the next run (with access back) replaces
// the identifier and marks the machine, and a run after that changes nothing. The guard ends with
// the tool's code.
TEST_F(ToolTest, TheAdminsGuardRunsTheToolUntilItSucceedsAndThenNeverAgain)
{
    InstallCollector();
    const ScratchKey marker(HKEY_CURRENT_USER, ScratchKeyPath("marker"));
    const std::string guard = AdminsGuard(tool, marker.Path());
    ASSERT_NE(guard.find("VortagDone"), std::string::npos) << guard;
    const ScratchFile script(suite.PathOf("guard.cmd"), guard);
    const struct {
        const char* run;
        bool denied;   // the identifier's key is read-only
        DWORD code;
        bool replaced;
        bool marked;
    } runs[] = {
        {"denied", true, ERROR_ACCESS_DENIED, false, false},
        {"access back", false, 0, true, true},
        {"marked", false, 0, false, true},
    };
    for (const auto& r : runs) {
        SCOPED_TRACE(r.run);
        readOnlyIdentifierKey.reset();
        if (r.denied)
            StoreReadOnlyIdentifier(kKnownIdentifier);
        else if (StoredIdentifier().empty())
            StoreIdentifier(kKnownIdentifier);
        const std::string before = StoredIdentifier();
        EXPECT_EQ(RunInvisibly("/q /c guard.cmd > nul", WindowsFolder() + "\\system32\\cmd.exe"), r.code);
        EXPECT_EQ(StoredIdentifier() != before, r.replaced) << before;
        EXPECT_EQ(marker.HasValue("VortagDone"), r.marked);
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
