#include "tests/e2e/ToolFixture.h"

#include "tests/support/IdentifierShape.h"
#include "tools/driver/Controls.h"
#include "tools/driver/Keyboard.h"
#include "tools/driver/ScreenImage.h"
#include "tools/driver/TopWindows.h"

#include <gtest/gtest.h>

namespace vortag_e2e {
namespace {

using e2e::Control;
using e2e::ReadText;

const char kKnownIdentifier[] = "{6F1C2A9E-4B7D-4E21-9C3A-58D0E7B14F62-01DA5E3C-7A2B91D4}";
const LANGID kEnglish = 0x0409;
const LANGID kSpanish = 0x0C0A;

// A bitmap resource of the tool as the screen shows it: one colour a pixel, top row first.
struct Face {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

Face LoadFace(const std::string& program, int id, LANGID language)
{
    Face face;
    HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HRSRC resource = module ? FindResourceExA(module, RT_BITMAP, MAKEINTRESOURCEA(id), language) : nullptr;
    const auto* info = resource ? static_cast<const BITMAPINFO*>(LockResource(LoadResource(module, resource))) : nullptr;
    if (info && info->bmiHeader.biBitCount == 8) {
        const BITMAPINFOHEADER& header = info->bmiHeader;
        const DWORD colours = header.biClrUsed ? header.biClrUsed : 256;
        const auto* bits = reinterpret_cast<const BYTE*>(info->bmiColors + colours);
        const int stride = (header.biWidth + 3) & ~3;
        face.width = header.biWidth;
        face.height = header.biHeight;
        for (int y = 0; y < face.height; ++y)
            for (int x = 0; x < face.width; ++x) {
                const RGBQUAD& c = info->bmiColors[bits[(face.height - 1 - y) * stride + x]];
                face.pixels.push_back(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
            }
    }
    if (module)
        FreeLibrary(module);
    return face;
}

// Whether the button shows exactly this face somewhere on its surface.
bool ShowsFace(HWND button, const Face& face)
{
    const e2e::ScreenImage shot = e2e::ScreenImage::CaptureWindow(button);
    for (int top = 0; top + face.height <= shot.Height(); ++top)
        for (int left = 0; left + face.width <= shot.Width(); ++left) {
            bool same = true;
            for (int y = 0; same && y < face.height; ++y)
                for (int x = 0; same && x < face.width; ++x)
                    same = shot.Pixel(left + x, top + y) == face.pixels[y * face.width + x];
            if (same)
                return true;
        }
    return false;
}

// The CHANGE click, sent: it returns once the change has run, whatever it did.
void ChangeAndWait(HWND dialog)
{
    DWORD_PTR result = 0;
    ASSERT_TRUE(SendMessageTimeoutA(dialog, WM_COMMAND, MAKEWPARAM(kChangeButton, BN_CLICKED),
                                    reinterpret_cast<LPARAM>(Control(dialog, kChangeButton)), SMTO_ABORTIFHUNG,
                                    e2e::kDefaultTimeoutMs, &result));
}

// The dialog stays for a second: nothing closed it.
bool StaysOpen(const e2e::Process& tool, HWND dialog)
{
    return !e2e::PollUntil(1000, [&] { return !IsWindow(dialog) || !tool.IsRunning(); });
}

}  // namespace

TEST_F(ToolTest, FirstStartShowsAFreshlyStoredIdentifier)
{
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    const std::string shown = ReadText(Control(dialog, kCurrentIdentifier));
    EXPECT_TRUE(HasIdentifierShape(shown)) << shown;
    EXPECT_EQ(StoredIdentifier(), shown);
    EXPECT_EQ(ReadText(dialog), kTitle);
    EXPECT_EQ(ReadText(Control(dialog, kCurrentLabel)), "Current GUID:");
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "-");
    EXPECT_EQ(ReadText(Control(dialog, kNewIdentifier)), "");
    EXPECT_EQ(CloseDialog(dialog, *process), 0u);
}

TEST_F(ToolTest, ChangeTwiceStoresAndShowsTheSecondAndStartsTheCollectorEachTime)
{
    InstallCollector();
    StoreIdentifier(kKnownIdentifier);
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process, "", {{"LANG", "en_US.UTF-8"}});
    EXPECT_EQ(ReadText(Control(dialog, kCurrentIdentifier)), kKnownIdentifier);
    // Before any click: a focused button draws its focus frame over the face.
    EXPECT_TRUE(ShowsFace(Control(dialog, kChangeButton), LoadFace(tool, 103, kEnglish)));
    EXPECT_TRUE(ShowsFace(Control(dialog, kCloseButton), LoadFace(tool, 115, kEnglish)));

    const std::string first = Change(dialog);
    EXPECT_EQ(StoredIdentifier(), first);
    const std::string second = Change(dialog);   // waits until it shows another than the first
    EXPECT_TRUE(HasIdentifierShape(first)) << first;
    EXPECT_TRUE(HasIdentifierShape(second)) << second;
    EXPECT_EQ(StoredIdentifier(), second);
    EXPECT_EQ(ReadText(Control(dialog, kCurrentIdentifier)), kKnownIdentifier);
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "New GUID: ");
    EXPECT_EQ(WaitForCollectorRuns(suite.Path(), 2), (std::vector<std::string>{"/DELFLAGS", "/DELFLAGS"}));
    SaveScreenshot(dialog, "dialog-en");
    EXPECT_EQ(CloseDialog(dialog, *process), 0u);
}

TEST_F(ToolTest, SpanishUserSeesSpanishLabelsAndButtonFaces)
{
    InstallCollector();
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process, "", {{"LANG", "es_ES.UTF-8"}});
    EXPECT_EQ(ReadText(Control(dialog, kCurrentLabel)), "GUID Actual:");
    const Face cambiar = LoadFace(tool, 103, kSpanish);
    ASSERT_EQ(cambiar.width, 70);
    EXPECT_TRUE(ShowsFace(Control(dialog, kChangeButton), cambiar));
    EXPECT_TRUE(ShowsFace(Control(dialog, kCloseButton), LoadFace(tool, 115, kSpanish)));
    EXPECT_FALSE(ShowsFace(Control(dialog, kChangeButton), LoadFace(tool, 103, kEnglish)));
    Change(dialog);
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "GUID Nuevo: ");
    SaveScreenshot(dialog, "dialog-es");
    EXPECT_EQ(CloseDialog(dialog, *process), 0u);
}

TEST_F(ToolTest, MissingCollectorStillReplacesTheIdentifierAndEndsWithFileNotFound)
{
    StoreIdentifier(kKnownIdentifier);
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    const std::string changed = Change(dialog);
    EXPECT_EQ(StoredIdentifier(), changed);
    EXPECT_EQ(CloseDialog(dialog, *process), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ToolTest, EnterAndEscapeLeaveTheDialogOpenAndTheCloseBoxEndsWithTheLastResult)
{
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    Change(dialog);   // no collector here: this change's result is 2
    e2e::PressKey(dialog, VK_RETURN);
    e2e::PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(StaysOpen(*process, dialog));
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(process->WaitForExit(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ToolTest, ClosingTheHiddenMainWindowEndsWithItsLParam)
{
    std::unique_ptr<e2e::Process> process;
    StartDialog(process);
    const HWND main = e2e::FindAnyTopWindow(*process, "", kMainWindowClass);
    EXPECT_FALSE(IsWindowVisible(main));
    e2e::PostClose(main, 7);
    EXPECT_EQ(process->WaitForExit(), 7u);
}

TEST_F(ToolTest, ASecondCopyEndsAt183WithoutAWindowAndChangesNothing)
{
    std::unique_ptr<e2e::Process> first;
    const HWND dialog = StartDialog(first);
    const std::string stored = StoredIdentifier();
    ASSERT_TRUE(HasIdentifierShape(stored));
    EXPECT_EQ(RunInvisibly(""), 183u);
    EXPECT_EQ(RunInvisibly("/QUIET"), 183u);
    EXPECT_EQ(StoredIdentifier(), stored);

    // The second copy builds its dialog object before it looks for the first copy, and that
    // stores an identifier when none is stored.
    DeleteStoredIdentifier();
    EXPECT_EQ(RunInvisibly("/QUIET"), 183u);
    EXPECT_TRUE(HasIdentifierShape(StoredIdentifier())) << StoredIdentifier();
    EXPECT_NE(StoredIdentifier(), stored);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(CloseDialog(dialog, *first), 0u);
}

TEST_F(ToolTest, AFailedWriteEndsWithAccessDeniedLeavesTheDisplaysAndStartsNoCollector)
{
    InstallCollector();
    StoreReadOnlyIdentifier(kKnownIdentifier);
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    // A user who may read the key but not write it sees what is stored.
    EXPECT_EQ(ReadText(Control(dialog, kCurrentIdentifier)), kKnownIdentifier);
    ChangeAndWait(dialog);
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "-");
    EXPECT_EQ(ReadText(Control(dialog, kNewIdentifier)), "");
    EXPECT_EQ(CloseDialog(dialog, *process), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(StoredIdentifier(), kKnownIdentifier);
    EXPECT_FALSE(CollectorStarted(suite.Path()));
}

// After a failed change the run ends with its failure however the windows are closed: a polite
// taskkill (WM_CLOSE with lParam 0 to every top-level window, in the order they stand), or
// WM_CLOSE 0 to the hidden main window alone.
TEST_F(ToolTest, ClosingTheWindowsWithZeroAfterAFailedChangeEndsWithItsFailure)
{
    StoreReadOnlyIdentifier(kKnownIdentifier);
    for (const bool everyWindow : {true, false}) {
        SCOPED_TRACE(everyWindow ? "every window" : "the main window");
        std::unique_ptr<e2e::Process> process;
        const HWND dialog = StartDialog(process);
        ChangeAndWait(dialog);
        const std::vector<HWND> windows = everyWindow ? e2e::TopWindowsOf(process->Id())
                                                      : std::vector<HWND>{e2e::FindAnyTopWindow(*process, "", kMainWindowClass)};
        for (const HWND window : windows)
            e2e::PostClose(window, 0);
        EXPECT_EQ(process->WaitForExit(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
}

}  // namespace vortag_e2e
