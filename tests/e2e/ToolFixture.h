#pragma once
// A clean machine for each run of the tool: no identifier, no settings file, no setup key;
// a suite folder of the test's own holding a copy of the tool (and, when asked, of the
// collector). Helpers read what the tool left behind. Its tests hold the tool's locks
// (VORTAG_TOOL_LOCKS, tests/CMakeLists.txt), which SetUp checks.

#include "tests/support/ScratchKey.h"
#include "tools/driver/Files.h"
#include "tools/driver/Process.h"
#include "tools/driver/ToolState.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vortag_e2e {

constexpr char kTitle[] = "Nimbra VORTAG";
constexpr char kDialogClass[] = "#32770";
constexpr char kMainWindowClass[] = "NIMBRA_VORTAG";
constexpr int kCurrentLabel = 201;
constexpr int kChangeButton = 202;
constexpr int kCloseButton = 203;
constexpr int kNewLabel = 204;
constexpr int kCurrentIdentifier = 205;
constexpr int kNewIdentifier = 206;

using e2e::CollectorRuns;
using e2e::DeleteStoredIdentifier;
using e2e::StoredIdentifier;
using e2e::StoreIdentifier;

// The screen's DPI for every program started from now on (Wine's LogPixels, which it reads as a
// program starts); the fixture puts back the default, 96.
void SetScreenDpi(DWORD dpi);
// Waits (bounded) until the collector in `folder` has run `count` times; returns the runs.
std::vector<std::string> WaitForCollectorRuns(const std::string& folder, size_t count);
// Whether a collector was started: one runs now or the one in `folder` has logged. Certain once
// the tool has ended, if no other collector runs: what the tool started still runs or has logged.
bool CollectorStarted(const std::string& folder);

std::string WindowsFolder();

class ToolTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores `identifier` in a key that nobody may write (a read-only DACL), which goes at the
    // test's end.
    void StoreReadOnlyIdentifier(const std::string& identifier);
    // Copies the collector into the suite folder, so that the tool finds it there.
    void InstallCollector();
    // The tool, started from the suite folder with these arguments.
    std::unique_ptr<e2e::Process> StartTool(const std::string& arguments = "", const e2e::Variables& environment = {},
                                            const std::string& program = "");
    // Starts the tool and waits for its dialog.
    HWND StartDialog(std::unique_ptr<e2e::Process>& tool, const std::string& arguments = "",
                     const e2e::Variables& environment = {});
    // Runs the tool (or another program) to its end; fails when any of its windows was ever
    // visible.
    DWORD RunInvisibly(const std::string& arguments, const std::string& program = "");
    // Presses CLOSE and returns the tool's exit code.
    DWORD CloseDialog(HWND dialog, e2e::Process& process);
    // Presses CHANGE and waits until the new identifier shows; returns it.
    std::string Change(HWND dialog);
    // Saves a screenshot of the dialog as build/screenshots/<name>.bmp.
    void SaveScreenshot(HWND dialog, const std::string& name);

    e2e::ScratchFolder suite;
    std::string tool;   // the copy of vortag.exe in the suite folder
    std::optional<ScratchKey> readOnlyIdentifierKey;
};

}  // namespace vortag_e2e
