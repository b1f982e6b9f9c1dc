#include "tests/e2e/ToolFixture.h"

#include "app/FixedTexts.h"
#include "foundation/RegistryKey.h"
#include "tests/support/LockCheck.h"
#include "tools/driver/Controls.h"
#include "tools/driver/ScreenImage.h"
#include "tools/driver/ShowRecorder.h"
#include "tools/driver/TopWindows.h"

namespace vortag_e2e {

namespace {

// The tool's end after a step, with a generous bound: a change pauses up to a second.
const unsigned kRunTimeoutMs = 20000;

// The suite's machine settings, in both registry views of a 64-bit system.
void DeleteSuiteSetup()
{
    for (const REGSAM view : {REGSAM{KEY_WOW64_64KEY}, kRegistryView32}) {
        HKEY software = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS)
            continue;
        RegDeleteTreeA(software, "Nimbra");
        RegDeleteKeyA(software, "Nimbra");
        RegCloseKey(software);
    }
}

const char kDesktopSettings[] = "Control Panel\\Desktop";

void CleanMachine()
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopSettings, "LogPixels");
    e2e::DeleteIdentifierKeys();
    DeleteSuiteSetup();
    DeleteFileA((WindowsFolder() + "\\QTFile.ini").c_str());
}

}  // namespace

void SetScreenDpi(DWORD dpi)
{
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopSettings, "LogPixels", REG_DWORD, &dpi, sizeof dpi),
              ERROR_SUCCESS);
}

std::vector<std::string> WaitForCollectorRuns(const std::string& folder, size_t count)
{
    e2e::PollUntil(e2e::kDefaultTimeoutMs, [&] { return CollectorRuns(folder).size() >= count; });
    return CollectorRuns(folder);
}

bool CollectorStarted(const std::string& folder)
{
    return e2e::IsProgramRunning("Brevast.exe") || !CollectorRuns(folder).empty();
}

std::string WindowsFolder()
{
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, sizeof folder);
    return folder;
}

void ToolTest::SetUp()
{
    ExpectLocks(VORTAG_TOOL_LOCKS);
    CleanMachine();
    tool = suite.CopyIn(e2e::BesideProgram("vortag.exe"));
}

void ToolTest::TearDown()
{
    CleanMachine();
}

void ToolTest::StoreReadOnlyIdentifier(const std::string& identifier)
{
    readOnlyIdentifierKey.emplace(HKEY_CLASSES_ROOT, kIdentifierKey, kRegistryView32);
    StoreIdentifier(identifier);
    readOnlyIdentifierKey->MakeReadOnly();
}

void ToolTest::InstallCollector()
{
    suite.CopyIn(e2e::BesideProgram("Brevast.exe"));
}

std::unique_ptr<e2e::Process> ToolTest::StartTool(const std::string& arguments, const e2e::Variables& environment,
                                                  const std::string& program)
{
    e2e::StartOptions options;
    options.arguments = arguments;
    options.folder = suite.Path();
    options.environment = environment;
    return std::make_unique<e2e::Process>(program.empty() ? tool : program, options);
}

HWND ToolTest::StartDialog(std::unique_ptr<e2e::Process>& process, const std::string& arguments,
                           const e2e::Variables& environment)
{
    process = StartTool(arguments, environment);
    return e2e::FindTopWindow(*process, kTitle, kDialogClass);
}

DWORD ToolTest::RunInvisibly(const std::string& arguments, const std::string& program)
{
    ExpectLocks("show_recorder");
    const e2e::ShowRecorder shows;
    const auto process = StartTool(arguments, {}, program);
    // Ended or not (a box nobody answers keeps it running), what it showed is named.
    e2e::PollUntil(kRunTimeoutMs, [&] { return !process->IsRunning(); });
    const std::string shown = e2e::Describe(shows.ShownBy(process->Id()));
    EXPECT_TRUE(shown.empty()) << "'" << arguments << "' showed" << shown;
    return process->WaitForExit(0);
}

DWORD ToolTest::CloseDialog(HWND dialog, e2e::Process& process)
{
    e2e::ClickButton(e2e::Control(dialog, kCloseButton));
    return process.WaitForExit(kRunTimeoutMs);
}

std::string ToolTest::Change(HWND dialog)
{
    const std::string before = e2e::ReadText(e2e::Control(dialog, kNewIdentifier));
    e2e::ClickButton(e2e::Control(dialog, kChangeButton));
    return e2e::WaitForTextChange(e2e::Control(dialog, kNewIdentifier), before);
}

void ToolTest::SaveScreenshot(HWND dialog, const std::string& name)
{
    const std::string folder = e2e::ProgramFolder() + "\\..\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    e2e::ScreenImage::CaptureWindow(dialog).SaveBmp(folder + "\\" + name + ".bmp");
}

}  // namespace vortag_e2e
