#include "tools/bench/Runs.h"

#include "app/FixedTexts.h"
#include "app/res/ResourceIds.h"
#include "tools/driver/Controls.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"
#include "tools/driver/Process.h"
#include "tools/driver/ToolState.h"
#include "tools/driver/TopWindows.h"

#include <algorithm>

namespace {

const char kDialogClass[] = "#32770";
const unsigned kRunTimeoutMs = 30000;

// The program's visible dialog with the tool's title, or nullptr. GetWindowTextA reads the
// title the system keeps, without a message to the program.
HWND FindDialog(DWORD processId)
{
    for (HWND window : e2e::TopWindowsOf(processId)) {
        char title[64] = "";
        char className[64] = "";
        GetWindowTextA(window, title, sizeof title);
        GetClassNameA(window, className, sizeof className);
        if (IsWindowVisible(window) && std::string(title) == kApplicationTitle &&
            std::string(className) == kDialogClass)
            return window;
    }
    return nullptr;
}

// True once `edit` answered WM_GETTEXT; its text in `text`.
bool Answers(HWND edit, std::string& text)
{
    char buffer[256] = "";
    DWORD_PTR copied = 0;
    if (!edit || !SendMessageTimeoutA(edit, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                                      SMTO_ABORTIFHUNG, 1000, &copied))
        return false;
    text.assign(buffer, std::min<size_t>(copied, sizeof buffer - 1));
    return true;
}

int64_t UtcNowMs()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const int64_t ticks = (static_cast<int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return ticks / 10000 - 11644473600000LL;
}

}  // namespace

StartupRun MeasureStartup(const std::string& program, const std::string& folder,
                          const std::string& expectedIdentifier)
{
    e2e::StartOptions options;
    options.folder = folder;
    const e2e::Stopwatch watch;
    e2e::Process process(program, options);
    // A tight poll of its own (1 ms, not the driver's 2 ms): the figure is a few tens of ms.
    HWND dialog = nullptr;
    std::string text;
    StartupRun run;
    for (;;) {
        dialog = FindDialog(process.Id());
        if (dialog && run.visibleMs == 0)
            run.visibleMs = watch.ElapsedMs();
        if (dialog && Answers(GetDlgItem(dialog, IDC_CURRENT_IDENTIFIER), text))
            break;
        if (!process.IsRunning() || watch.ElapsedMs() > kRunTimeoutMs)
            e2e::Fail("%s showed no answering dialog \"%s\" %s", process.Name().c_str(), kApplicationTitle,
                      process.IsRunning() ? "in time" : "before it ended");
        Sleep(1);
    }
    run.answeredMs = watch.ElapsedMs();
    if (!expectedIdentifier.empty() && text != expectedIdentifier)
        e2e::Fail("%s shows \"%s\" in edit 205 instead of the stored \"%s\"", process.Name().c_str(), text.c_str(),
                  expectedIdentifier.c_str());

    // Painted and waiting for input: the dialog as a user has it.
    WaitForInputIdle(process.Handle(), 5000);
    run.memory = process.Memory();
    e2e::ClickButton(e2e::Control(dialog, IDC_CLOSE));
    const DWORD exitCode = process.WaitForExit(kRunTimeoutMs);
    if (exitCode != 0)
        e2e::Fail("%s ended with %lu after CLOSE", process.Name().c_str(), exitCode);
    return run;
}

QuietRun MeasureQuiet(const std::string& tool, const std::string& folder)
{
    const size_t collectorRunsBefore = e2e::CollectorRuns(folder).size();
    e2e::StartOptions options;
    options.arguments = "/QUIET";
    options.folder = folder;
    QuietRun run;
    run.startUtcMs = UtcNowMs();
    const e2e::Stopwatch watch;
    e2e::Process process(tool, options);
    const DWORD waited = WaitForSingleObject(process.Handle(), kRunTimeoutMs);
    run.wallMs = watch.ElapsedMs();
    run.endUtcMs = UtcNowMs();
    if (waited != WAIT_OBJECT_0)
        e2e::Fail("%s /QUIET did not end within %u ms", process.Name().c_str(), kRunTimeoutMs);
    const DWORD exitCode = process.WaitForExit(0);
    if (exitCode != 0)
        e2e::Fail("%s /QUIET ended with %lu", process.Name().c_str(), exitCode);
    if (!e2e::PollUntil(e2e::kDefaultTimeoutMs, [&] { return e2e::CollectorRuns(folder).size() > collectorRunsBefore; }))
        e2e::Fail("%s /QUIET ended with 0 but the collector did not run", process.Name().c_str());
    return run;
}
