// Runs the tool on a display nobody looks at (scripts/run.sh without a desktop): starts it,
// saves a screenshot of its dialog, presses CLOSE and reports its exit code. A run that shows
// no dialog (QUIET) is simply waited for; error boxes are read out and closed.
//
//   vortag_showcase.exe <screenshot.bmp> <tool.exe> [arguments...]

#include "tools/driver/Controls.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/MessageBoxes.h"
#include "tools/driver/Process.h"
#include "tools/driver/ScreenImage.h"
#include "tools/driver/TopWindows.h"

#include <cstdio>
#include <string>

namespace {

const unsigned kRunTimeoutMs = 30000;
const int kCloseButton = 203;

void ReportBoxes(const e2e::Process& tool)
{
    for (const e2e::MessageBoxText& box : e2e::CloseMessageBoxes(tool))
        std::printf("message box \"%s\":\n%s\n", box.caption.c_str(), box.text.c_str());
}

DWORD Showcase(const std::string& screenshot, const std::string& program, const std::string& arguments)
{
    e2e::StartOptions options;
    options.arguments = arguments;
    e2e::Process tool(program, options);
    const HWND shown = e2e::FirstVisibleWindow(tool, kRunTimeoutMs);
    if (shown && e2e::IsMessageBox(shown))
        ReportBoxes(tool);
    else if (shown) {
        // Answered once the tool's thread is back in its loop, so the dialog has painted.
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(shown, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
        e2e::ScreenImage::CaptureWindow(shown).SaveBmp(screenshot);
        std::printf("screenshot: %s\n", screenshot.c_str());
        e2e::ClickButton(e2e::Control(shown, kCloseButton));
    }
    return tool.WaitForExit(kRunTimeoutMs);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: vortag_showcase <screenshot.bmp> <tool.exe> [arguments...]\n");
        return 2;
    }
    std::string arguments;
    for (int i = 3; i < argc; ++i)
        arguments += (i > 3 ? " " : "") + std::string(argv[i]);
    try {
        const DWORD exitCode = Showcase(argv[1], argv[2], arguments);
        std::printf("vortag.exe exit code: %lu\n", exitCode);
        return 0;
    } catch (const e2e::DriverError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
