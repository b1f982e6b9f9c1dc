#include "tests/tools/TargetIds.h"
#include "tools/driver/Controls.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"
#include "tools/driver/Keyboard.h"
#include "tools/driver/MessageBoxes.h"
#include "tools/driver/Process.h"
#include "tools/driver/ScreenImage.h"
#include "tools/driver/ShowRecorder.h"
#include "tools/driver/TopWindows.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

const char kTitle[] = "E2E Target";
const COLORREF kBackground = RGB(0, 128, 96);   // the target dialog's
const COLORREF kWhite = RGB(255, 255, 255);      // an edit's

std::string Target()
{
    return e2e::BesideProgram("e2e_target.exe");
}

e2e::StartOptions Arguments(const std::string& arguments)
{
    e2e::StartOptions options;
    options.arguments = arguments;
    return options;
}

// What `action` threw as a DriverError; empty when it threw nothing.
std::string DriverErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const e2e::DriverError& error) {
        return error.what();
    }
    return std::string();
}

// Where point (x, y) of `window`'s client area lies in a screenshot of `shown`.
POINT InShot(HWND shown, HWND window, int x, int y)
{
    RECT area;
    GetWindowRect(shown, &area);
    POINT point{x, y};
    ClientToScreen(window, &point);
    return POINT{point.x - area.left, point.y - area.top};
}

class TargetDialogTest : public ::testing::Test {
protected:
    void SetUp() override { dialog = e2e::FindTopWindow(target, kTitle, "#32770"); }
    HWND Item(int id) const { return e2e::Control(dialog, id); }

    e2e::Process target{Target(), Arguments("dialog")};
    HWND dialog = nullptr;
};

}  // namespace

// Both ways of starting (directly, and through the Unix side for a locale) hand the program
// the same command line, folder and environment.
struct Route {
    const char* name;
    e2e::Variables environment;
};

void PrintTo(const Route& route, std::ostream* out)
{
    *out << route.name;
}

class StartTest : public ::testing::TestWithParam<Route> {};

TEST_P(StartTest, ArgumentsFolderAndEnvironmentReachTheProgramUnchanged)
{
    const e2e::ScratchFolder folder;
    e2e::StartOptions options = Arguments("dialog  \"two  words\" /x=1|y ");
    options.folder = folder.Path();
    options.environment = GetParam().environment;
    options.environment.emplace_back("E2E_MARK", "marked");
    e2e::Process target(Target(), options);
    const HWND dialog = e2e::FindTopWindow(target, kTitle);
    EXPECT_EQ(e2e::ReadText(e2e::Control(dialog, IDC_START)),
              "dialog  \"two  words\" /x=1|y |" + folder.Path() + "|marked");
}

INSTANTIATE_TEST_SUITE_P(Routes, StartTest,
                         ::testing::Values(Route{"Directly", {}}, Route{"ThroughUnix", {{"LANG", "es_ES.UTF-8"}}}),
                         [](const ::testing::TestParamInfo<Route>& route) { return route.param.name; });

struct LanguageCase {
    const char* name;
    const char* variable;
    const char* locale;
    DWORD language;
};

void PrintTo(const LanguageCase& locale, std::ostream* out)
{
    *out << locale.variable << "=" << locale.locale;
}

class LanguageTest : public ::testing::TestWithParam<LanguageCase> {};

TEST_P(LanguageTest, LocaleVariableGivesTheProgramItsLanguage)
{
    e2e::StartOptions options = Arguments("language");
    options.environment = {{GetParam().variable, GetParam().locale}};
    e2e::Process target(Target(), options);
    EXPECT_EQ(target.WaitForExit(), GetParam().language);
}

INSTANTIATE_TEST_SUITE_P(Locales, LanguageTest,
                         ::testing::Values(LanguageCase{"LangSpanish", "LANG", "es_ES.UTF-8", 0x0C0A},
                                           LanguageCase{"LcAllSpanish", "LC_ALL", "es_ES.UTF-8", 0x0C0A},
                                           LanguageCase{"LangEnglish", "LANG", "en_US.UTF-8", 0x0409}),
                         [](const ::testing::TestParamInfo<LanguageCase>& locale) { return locale.param.name; });

TEST_F(TargetDialogTest, ClickAndCommandReachTheButtonsHandler)
{
    EXPECT_EQ(e2e::ReadText(Item(IDC_STATUS)), "ready");
    e2e::ClickButton(Item(IDC_CHANGE));
    e2e::WaitForText(Item(IDC_STATUS), "changed 1");
    e2e::SendCommand(dialog, IDC_CHANGE);
    e2e::WaitForText(Item(IDC_STATUS), "changed 2");
}

TEST_F(TargetDialogTest, EscapeAndEnterArriveAtTheFocusedControl)
{
    EXPECT_EQ(e2e::PressKey(dialog, VK_ESCAPE), Item(IDC_INPUT));
    EXPECT_EQ(e2e::PressKey(dialog, VK_RETURN), Item(IDC_INPUT));
    e2e::WaitForText(Item(IDC_KEYS), "Escape@100 Enter@100");
    EXPECT_TRUE(target.IsRunning());
}

TEST_F(TargetDialogTest, MessageBoxIsFoundReadAndClosed)
{
    EXPECT_FALSE(e2e::IsMessageBox(dialog));   // a #32770 with controls of its own
    e2e::ClickButton(Item(IDC_BOX));
    const e2e::MessageBoxText box = e2e::WaitForMessageBox(target);
    EXPECT_TRUE(e2e::IsMessageBox(box.window));

    const std::vector<e2e::MessageBoxText> closed = e2e::CloseMessageBoxes(target);
    ASSERT_EQ(closed.size(), 1u);
    EXPECT_EQ(closed[0].text, "Something to report");
    EXPECT_EQ(closed[0].caption, "E2E Target");
    e2e::WaitForText(Item(IDC_STATUS), "box answered 1");   // IDOK
    EXPECT_TRUE(e2e::MessageBoxesOf(target.Id()).empty());
}

// Closing every window as taskkill does passes over one that went before its turn.
TEST_F(TargetDialogTest, CloseWithLParamSevenEndsWithExitCodeSevenPassingOverAGoneWindow)
{
    const HWND gone = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    e2e::PostCloseToEach({gone, dialog}, 7);
    EXPECT_EQ(target.WaitForExit(), 7u);
}

TEST_F(TargetDialogTest, ShownDialogIsSeenVisible)
{
    EXPECT_EQ(e2e::FirstVisibleWindow(target, e2e::kDefaultTimeoutMs), dialog);
}

TEST_F(TargetDialogTest, ScreenshotFileHasTheWindowsSizeAndColours)
{
    const e2e::ScratchFolder folder;
    const std::string file = folder.PathOf("shot.bmp");
    e2e::ScreenImage::CaptureWindow(dialog).SaveBmp(file);
    const e2e::ScreenImage shot = e2e::ScreenImage::LoadBmp(file);

    RECT area;
    GetWindowRect(dialog, &area);
    EXPECT_EQ(shot.Width(), area.right - area.left);
    EXPECT_EQ(shot.Height(), area.bottom - area.top);
    RECT client;
    GetClientRect(dialog, &client);
    const POINT corner = InShot(dialog, dialog, client.right - 3, client.bottom - 3);   // bare dialog
    EXPECT_EQ(shot.Pixel(corner.x, corner.y), kBackground);
    RECT edit;
    GetClientRect(Item(IDC_INPUT), &edit);
    const POINT blank = InShot(dialog, Item(IDC_INPUT), edit.right - 3, edit.bottom / 2);   // right of "hello"
    EXPECT_EQ(shot.Pixel(blank.x, blank.y), kWhite);
}

TEST_F(TargetDialogTest, MemoryFiguresOfARunningProgramAreNonZero)
{
    const e2e::MemoryFigures now = target.Memory();
    EXPECT_GT(now.peakWorkingSet, 0u);
    EXPECT_GT(now.privateBytes, 0u);
    e2e::PostClose(dialog, 0);
    target.WaitForExit();
    EXPECT_GE(target.PeakMemory().peakWorkingSet, now.peakWorkingSet);   // kept after the end
}

TEST(HiddenWindowTest, NeverShownWindowIsFoundButNeverVisible)
{
    const e2e::ShowRecorder shows;
    e2e::Process target(Target(), Arguments("hidden"));
    const HWND hidden = e2e::FindAnyTopWindow(target, "E2E Hidden");
    e2e::PostClose(hidden, 7);
    EXPECT_EQ(target.WaitForExit(), 7u);
    EXPECT_EQ(e2e::Describe(shows.ShownBy(target.Id())), "");
}

// A window shown and hidden at once is recorded; of a dialog only the dialog itself, once (its
// controls are no top-level windows, and a show brings more than one message).
TEST(ShowRecorderTest, RecordsEachTopLevelWindowAProgramShowsHoweverBriefly)
{
    const e2e::ShowRecorder shows;
    e2e::Process flash(Target(), Arguments("flash"));
    EXPECT_EQ(flash.WaitForExit(), 0u);
    const std::vector<e2e::ShownWindow> flashed = shows.ShownBy(flash.Id());
    ASSERT_EQ(flashed.size(), 1u) << e2e::Describe(flashed);
    EXPECT_EQ(flashed[0].className, "E2ETargetHidden");
    EXPECT_EQ(flashed[0].title, "E2E Flash");

    e2e::Process target(Target(), Arguments("dialog"));
    const HWND dialog = e2e::FindTopWindow(target, kTitle);
    const std::vector<e2e::ShownWindow> shown = shows.ShownBy(target.Id());
    ASSERT_EQ(shown.size(), 1u) << e2e::Describe(shown);
    EXPECT_EQ(shown[0].window, dialog);
}

TEST(TimeoutTest, WaitForExitReportsTheTimeoutAndKillsTheProgram)
{
    e2e::Process target(Target(), Arguments("stay"));
    const std::string error = DriverErrorOf([&] { target.WaitForExit(200); });
    EXPECT_NE(error.find("e2e_target.exe"), std::string::npos) << error;
    EXPECT_NE(error.find("did not exit within 200 ms; killed"), std::string::npos) << error;
    EXPECT_FALSE(target.IsRunning());
    DWORD code = 0;
    GetExitCodeProcess(target.Handle(), &code);
    EXPECT_EQ(code, e2e::kKilledExitCode);
}

TEST(TimeoutTest, FindTopWindowReportsTheTimeoutAndTheWindowsThereAre)
{
    e2e::Process target(Target(), Arguments("hidden"));
    e2e::FindAnyTopWindow(target, "E2E Hidden");
    const std::string error = DriverErrorOf([&] { e2e::FindTopWindow(target, "No such window", "", 200); });
    EXPECT_NE(error.find("\"No such window\""), std::string::npos) << error;
    EXPECT_NE(error.find("within 200 ms"), std::string::npos) << error;
    EXPECT_NE(error.find("title \"E2E Hidden\" hidden"), std::string::npos) << error;
}

TEST(TimeoutTest, FindTopWindowGivesUpWhenTheProgramEnds)
{
    e2e::Process target(Target(), Arguments("language"));   // ends at once, without a window
    const std::string error = DriverErrorOf([&] { e2e::FindTopWindow(target, kTitle); });
    EXPECT_NE(error.find("before it ended"), std::string::npos) << error;
}
