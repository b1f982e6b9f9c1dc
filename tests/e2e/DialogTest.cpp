#include "tests/e2e/ToolFixture.h"

#include "tests/support/IdentifierShape.h"
#include "tests/support/SystemText.h"
#include "tools/driver/Controls.h"
#include "tools/driver/Keyboard.h"
#include "tools/driver/ScreenImage.h"
#include "tools/driver/TopWindows.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstdlib>

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
        // The system decodes the bits, run-length encoded or not, into a top-down 32-bit image.
        const BITMAPINFOHEADER& header = info->bmiHeader;
        const DWORD colours = header.biClrUsed ? header.biClrUsed : 256;
        face.width = header.biWidth;
        face.height = std::abs(header.biHeight);
        BITMAPINFO decoded{};
        decoded.bmiHeader = {sizeof decoded.bmiHeader, face.width, -face.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP image = CreateDIBSection(nullptr, &decoded, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        SetDIBits(dc, image, 0, face.height, info->bmiColors + colours, info, DIB_RGB_COLORS);
        for (int i = 0; i < face.width * face.height; ++i) {
            const RGBQUAD& c = static_cast<const RGBQUAD*>(bits)[i];
            face.pixels.push_back(RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
        }
        DeleteDC(dc);
        DeleteObject(image);
    }
    if (module)
        FreeLibrary(module);
    return face;
}

// Whether the window shows exactly this face somewhere on its surface.
bool ShowsFace(HWND window, const Face& face)
{
    const e2e::ScreenImage shot = e2e::ScreenImage::CaptureWindow(window);
    for (int top = 0; top + face.height <= shot.Height(); ++top)
        for (int left = 0; left + face.width <= shot.Width(); ++left) {
            bool same = !face.pixels.empty();
            for (int y = 0; same && y < face.height; ++y)
                for (int x = 0; same && x < face.width; ++x)
                    same = shot.Pixel(left + x, top + y) == face.pixels[y * face.width + x];
            if (same)
                return true;
        }
    return false;
}

// Whether the window comes to show the face (or, with `shown` false, no longer shows it) in the
// driver's time: its paint may still be on the way.
bool ComesToShowFace(HWND window, const Face& face, bool shown = true)
{
    return e2e::PollUntil(e2e::kDefaultTimeoutMs, [&] { return ShowsFace(window, face) == shown; });
}

// Whether the control's text fits it in the dialog's font at `dpi` (8-point "MS Sans Serif"):
// no wider than its client area less an edit's margins, no taller than its client area.
bool TextFits(HWND control, int dpi, std::string& measured)
{
    const std::string text = ReadText(control);
    RECT client{};
    GetClientRect(control, &client);
    const DWORD margins = static_cast<DWORD>(SendMessageA(control, EM_GETMARGINS, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
    SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    DeleteDC(dc);
    DeleteObject(font);
    measured = "'" + text + "' " + std::to_string(size.cx) + " wide in " + std::to_string(client.right);
    return size.cx + LOWORD(margins) + HIWORD(margins) <= client.right && size.cy <= client.bottom;
}

// The name by which assistive technology (MSAA) calls a control, as it asks for it.
std::string AccessibleName(HWND control)
{
    IAccessible* accessible = nullptr;
    BSTR name = nullptr;
    VARIANT self{};
    self.vt = VT_I4;   // CHILDID_SELF
    // __uuidof rather than IID_IAccessible: the 64-bit toolchain links that name to oleacc's
    // import thunk instead of the identifier, and the question then fails with E_NOINTERFACE.
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&accessible)))) {
        accessible->get_accName(self, &name);
        accessible->Release();
    }
    const std::string text(name, name + SysStringLen(name));   // ASCII names
    SysFreeString(name);
    return text;
}

// What a screen reader calls CHANGE, CLOSE and the two identifier fields (after their labels).
std::vector<std::string> AccessibleNames(HWND dialog)
{
    std::vector<std::string> names;
    for (int id : {kChangeButton, kCloseButton, kCurrentIdentifier, kNewIdentifier})
        names.push_back(AccessibleName(Control(dialog, id)));
    return names;
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
    EXPECT_TRUE(ComesToShowFace(Control(dialog, kChangeButton), LoadFace(tool, 103, kEnglish)));
    EXPECT_TRUE(ComesToShowFace(Control(dialog, kCloseButton), LoadFace(tool, 115, kEnglish)));

    const std::string first = Change(dialog);
    EXPECT_EQ(StoredIdentifier(), first);
    const std::string second = Change(dialog);   // waits until it shows another than the first
    EXPECT_TRUE(HasIdentifierShape(first)) << first;
    EXPECT_TRUE(HasIdentifierShape(second)) << second;
    EXPECT_EQ(StoredIdentifier(), second);
    EXPECT_EQ(ReadText(Control(dialog, kCurrentIdentifier)), kKnownIdentifier);
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "New GUID: ");
    EXPECT_EQ(AccessibleNames(dialog), (std::vector<std::string>{"CHANGE", "CLOSE", "Current GUID:", "New GUID: "}));
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
    EXPECT_TRUE(ComesToShowFace(Control(dialog, kChangeButton), cambiar));
    EXPECT_TRUE(ComesToShowFace(Control(dialog, kCloseButton), LoadFace(tool, 115, kSpanish)));
    EXPECT_FALSE(ShowsFace(Control(dialog, kChangeButton), LoadFace(tool, 103, kEnglish)));
    Change(dialog);
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "GUID Nuevo: ");
    EXPECT_EQ(AccessibleNames(dialog), (std::vector<std::string>{"CAMBIAR", "CERRAR", "GUID Actual:", "GUID Nuevo: "}));
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
    // The identifier stays shown; the label says what did not happen.
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "New GUID, collector not started (2): ");
    EXPECT_EQ(CloseDialog(dialog, *process), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ToolTest, EnterAndEscapeLeaveTheDialogOpenAndTheCloseBoxEndsWithTheLastResult)
{
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    // In a field they are IDOK and IDCANCEL, which neither close the dialog nor press a button.
    EXPECT_EQ(e2e::PressKey(dialog, VK_RETURN), Control(dialog, kCurrentIdentifier));
    e2e::PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(StaysOpen(*process, dialog));
    EXPECT_EQ(ReadText(Control(dialog, kNewIdentifier)), "");
    Change(dialog);   // no collector here: this change's result is 2
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(process->WaitForExit(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(ToolTest, TabWalksTheFieldsAndButtonsSpaceAndEnterPressTheFocusedButtonAltF4Closes)
{
    InstallCollector();
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process, "", {{"LANG", "en_US.UTF-8"}});
    e2e::WaitForFocus(Control(dialog, kCurrentIdentifier));
    for (const int next : {kNewIdentifier, kChangeButton, kCloseButton, kCurrentIdentifier}) {
        e2e::PressKey(dialog, VK_TAB);
        e2e::WaitForFocus(Control(dialog, next));
    }
    for (const int previous : {kCloseButton, kChangeButton}) {
        e2e::PressKey(dialog, VK_TAB, VK_SHIFT);
        e2e::WaitForFocus(Control(dialog, previous));
    }
    // The focused button shows where the keys go: a focus frame over its face.
    const HWND change = Control(dialog, kChangeButton);
    EXPECT_EQ(SendMessageA(change, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS, 0);
    EXPECT_TRUE(ComesToShowFace(change, LoadFace(tool, 103, kEnglish), false));
    EXPECT_TRUE(ComesToShowFace(Control(dialog, kCloseButton), LoadFace(tool, 115, kEnglish)));

    e2e::PressKey(dialog, VK_SPACE);
    const std::string first = e2e::WaitForTextChange(Control(dialog, kNewIdentifier), "");
    e2e::PressKey(dialog, VK_RETURN);
    std::string shown = e2e::WaitForTextChange(Control(dialog, kNewIdentifier), first);
    EXPECT_EQ(StoredIdentifier(), shown);
    // A key held down repeats its key-down with bit 30 set: still one press, one change.
    const std::pair<WPARAM, LPARAM> heldKeys[] = {{VK_RETURN, 0x1C}, {VK_SPACE, 0x39}};   // scan codes
    for (const auto& held : heldKeys) {
        SCOPED_TRACE(held.first);
        const size_t runs = WaitForCollectorRuns(suite.Path(), 2).size();
        const LPARAM down = 1 | held.second << 16;
        for (const LPARAM repeat : {0, 1 << 30, 1 << 30})
            PostMessageA(change, WM_KEYDOWN, held.first, down | repeat);
        PostMessageA(change, WM_KEYUP, held.first, static_cast<LPARAM>(down | 0xC0000000u));
        shown = e2e::WaitForTextChange(Control(dialog, kNewIdentifier), shown);
        EXPECT_FALSE(e2e::PollUntil(2500, [&] { return CollectorRuns(suite.Path()).size() > runs + 1; }));
        EXPECT_EQ(StoredIdentifier(), shown);
    }
    e2e::PressKey(dialog, VK_F4, VK_MENU);
    EXPECT_EQ(process->WaitForExit(), 0u);
}

// At every scale Windows offers, each image is its 100 % size times DPI / 96, shown exactly as
// drawn where a set is drawn for the scale: each face fills its button, the banner spans the
// dialog as at 100 % (508 of Wine's 593 pixels); no control overlaps another or leaves the
// dialog, the buttons keep a gap; every label and field holds its text. (Wine gives this unaware
// test the windows' rectangles in the screen's pixels, as its screenshots are.)
TEST_F(ToolTest, AtEveryScaleTheFacesFillTheirButtonsAndEveryTextFitsItsControl)
{
    const int kScaled = -1;
    const struct {
        int dpi;
        int images;   // what the scale's bitmap numbers add, when a set is drawn for it
    } scales[] = {{96, 0},       {120, kScaled}, {144, 1000},    {168, kScaled},
                  {192, 2000},   {216, kScaled}, {240, kScaled}, {288, kScaled}};
    for (const auto& scale : scales) {
        SCOPED_TRACE(testing::Message() << scale.dpi << " DPI");
        SetScreenDpi(scale.dpi);
        StoreIdentifier(kKnownIdentifier);
        std::unique_ptr<e2e::Process> process;
        const HWND dialog = StartDialog(process, "", {{"LANG", "en_US.UTF-8"}});
        const struct { int control, image; } shown[] = {
            {kChangeButton, 103}, {kCloseButton, 115}, {-1, 108}};
        for (const auto& item : shown) {
            const HWND control = Control(dialog, item.control);
            const Face drawn = LoadFace(tool, item.image, kEnglish);
            RECT client{};
            GetClientRect(control, &client);
            EXPECT_NEAR(client.right, MulDiv(drawn.width, scale.dpi, 96), 3) << item.image;
            EXPECT_NEAR(client.bottom, MulDiv(drawn.height, scale.dpi, 96), 3) << item.image;
            if (scale.images != kScaled) {
                EXPECT_TRUE(ComesToShowFace(control, LoadFace(tool, item.image + scale.images, kEnglish))) << item.image;
            }
        }
        const auto box = [dialog](HWND control) {
            RECT box{};
            GetWindowRect(control, &box);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
            return box;
        };
        std::vector<RECT> boxes;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            boxes.push_back(box(child));
        RECT area{}, common{};
        GetClientRect(dialog, &area);
        for (size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_TRUE(IntersectRect(&common, &boxes[i], &area) && EqualRect(&common, &boxes[i])) << "child " << i;
            // The template's units round to pixels box by box: a label may reach a pixel into the
            // field below it.
            for (size_t j = i + 1; j < boxes.size(); ++j) {
                RECT one = boxes[i], other = boxes[j];
                --one.bottom, --other.bottom;
                EXPECT_FALSE(IntersectRect(&common, &one, &other)) << "children " << i << " and " << j;
            }
        }
        EXPECT_GE(box(Control(dialog, -1)).right * 5, area.right * 4) << "the banner spans 4/5 of the width";
        EXPECT_GT(box(Control(dialog, kCloseButton)).left, box(Control(dialog, kChangeButton)).right);
        Change(dialog);   // no collector: the longest label there is (and CHANGE has the focus)
        for (const int id : {kCurrentLabel, kCurrentIdentifier, kNewLabel, kNewIdentifier}) {
            std::string measured;
            EXPECT_TRUE(TextFits(Control(dialog, id), scale.dpi, measured)) << id << ": " << measured;
        }
        SaveScreenshot(dialog, "dialog-" + std::to_string(scale.dpi));
        EXPECT_EQ(CloseDialog(dialog, *process), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    }
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

TEST_F(ToolTest, AFailedWriteEndsWithAccessDeniedSaysWhyInTheDialogAndStartsNoCollector)
{
    InstallCollector();
    StoreReadOnlyIdentifier(kKnownIdentifier);
    std::unique_ptr<e2e::Process> process;
    const HWND dialog = StartDialog(process);
    // A user who may read the key but not write it sees what is stored.
    EXPECT_EQ(ReadText(Control(dialog, kCurrentIdentifier)), kKnownIdentifier);
    ChangeAndWait(dialog);
    EXPECT_EQ(ReadText(Control(dialog, kNewLabel)), "Change failed: ");
    EXPECT_EQ(ReadText(Control(dialog, kNewIdentifier)), SystemText(ERROR_ACCESS_DENIED) + " (5)");
    EXPECT_EQ(ReadText(Control(dialog, kCurrentIdentifier)), kKnownIdentifier);   // still stored
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
    const struct {
        const char* name;
        bool everyWindow;
        LPARAM closeCode;
        DWORD exitCode;
    } cases[] = {
        {"every window", true, 0, ERROR_ACCESS_DENIED},
        {"the main window", false, 0, ERROR_ACCESS_DENIED},
        {"the main window with a code of its own", false, 7, 7},   // which wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<e2e::Process> process;
        const HWND dialog = StartDialog(process);
        ChangeAndWait(dialog);
        const std::vector<HWND> windows = c.everyWindow ? e2e::TopWindowsOf(process->Id())
                                                        : std::vector<HWND>{e2e::FindAnyTopWindow(*process, "", kMainWindowClass)};
        e2e::PostCloseToEach(windows, c.closeCode);
        EXPECT_EQ(process->WaitForExit(), c.exitCode);
    }
}

}  // namespace vortag_e2e
