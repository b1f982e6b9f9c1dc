#include "tests/e2e/ToolFixture.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/ScratchKey.h"

#include <gtest/gtest.h>

namespace vortag_e2e {
namespace {
const char kKnownIdentifier[] = "{00000000-1111-2222-3333-444444444444-01DA0000-00000000}";
}

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
    StoreIdentifier(kKnownIdentifier);
    MakeIdentifierKeyReadOnly();
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
