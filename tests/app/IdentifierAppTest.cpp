#include "app/ToolMain.h"

#include "app/IdentifierStore.h"
#include "app/ProcessObjects.h"
#include "app/res/ResourceIds.h"
#include "foundation/RegistryKey.h"
#include "foundation/Report.h"
#include "foundation/StructException.h"
#include "tests/support/RecordingRoutes.h"
#include "tests/support/ScratchKey.h"
#include "tests/support/SystemText.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <utility>

namespace {

const char kSomeIdentifier[] = "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF2}";

// A store whose Delete and Store fail as a test says, the registry untouched.
class CFailingStore : public CIdentifierStore {
public:
    std::function<void()> failDelete = [] {};
    std::function<void()> failAfterDelete = [] {};

    CStr Generate() const override { return kSomeIdentifier; }
    CStr GetOrCreate() const override { return kSomeIdentifier; }
    void Delete() const override { failDelete(); }
    void Store(const CStr&) const override { failAfterDelete(); }
};

// The result a dialog leaves behind for CLOSE: the value of the WM_QUIT its end posts.
int ResultAtClose(CIdentifierDlg& dialog)
{
    dialog.Destroy();
    MSG quit{};
    return PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) ? static_cast<int>(quit.wParam) : -1;
}

LONG BitmapWidth(LRESULT bitmap)
{
    BITMAP info{};
    return GetObjectA(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info) ? info.bmWidth : 0;
}

std::string ItemText(const CIdentifierDlg& dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog.handle, id, text, sizeof text);
    return text;
}

}  // namespace

TEST(CollectorStart, OnlyAStartedCollectorCountsAsSuccess)
{
    struct Case { INT_PTR shellExecuteResult; int result; };
    const Case cases[] = {
        {33, 0},
        {42, 0},
        {32, 32},
        {SE_ERR_FNF, SE_ERR_FNF},
        {SE_ERR_ACCESSDENIED, SE_ERR_ACCESSDENIED},
        {0, SE_ERR_OOM},   // out of memory or resources must not read as success
    };
    for (const Case& c : cases)
        EXPECT_EQ(CIdentifierDlg::CollectorStartResult(c.shellExecuteResult), c.result) << c.shellExecuteResult;
}

// The shell shows no box of its own (the dialog says why a start failed); with nobody at the
// screen it asks no question about a program from the internet either. With a person there, the
// dialog owns what the shell shows.
TEST(CollectorStart, AsksNobodyInAnUnattendedRun)
{
    const HWND dialog = GetDesktopWindow();   // any window
    for (const bool unattended : {false, true}) {
        SCOPED_TRACE(unattended ? "unattended" : "attended");
        const bool before = SetUnattended(unattended);
        const SHELLEXECUTEINFOA start = CIdentifierDlg::CollectorStart(dialog, "C:\\Suite\\Brevast.exe");
        SetUnattended(before);
        EXPECT_EQ(start.fMask, SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | (unattended ? SEE_MASK_NOZONECHECKS : 0u));
        EXPECT_EQ(start.hwnd, dialog);
        EXPECT_EQ(std::string(start.lpVerb) + " " + start.lpFile + " " + start.lpParameters,
                  "open C:\\Suite\\Brevast.exe /DELFLAGS");
        EXPECT_EQ(start.nShow, SW_SHOWNORMAL);
    }
}

// A change that fails never reads as success: an exception of another kind after the old
// identifier was deleted still goes on to be reported, and the result says the change failed.
// (A failure without a code of its own is a row of the next test.)
TEST(IdentifierChange, AForeignFailureAfterTheDeleteLeavesTheFailureValue)
{
    CFailingStore store;
    store.failAfterDelete = [] { throw std::bad_alloc(); };
    CRunOutcome outcome;
    CIdentifierDlg dialog(store, g_suiteFolder, outcome);
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    EXPECT_THROW(dialog.ChangeIdentifier(), std::bad_alloc);
    EXPECT_EQ(ResultAtClose(dialog), kFailureWithoutCode);
}

// A failed change says so in the new identifier's row, in the user's language, with the
// failure's own text and the code it ends with, never 0; where it left the old identifier
// deleted, the current field lets go of it. A change that succeeds afterwards shows its
// identifier as ever.
TEST(IdentifierChange, AFailureShowsInTheNewIdentifiersRowUntilAChangeSucceeds)
{
    const std::string shownAtStart = kSomeIdentifier;
    EXCEPTION_RECORD fault{};
    fault.ExceptionCode = EXCEPTION_ACCESS_VIOLATION;
    const EXCEPTION_POINTERS faultPointers{&fault, nullptr};
    const auto refuse = [] { RaiseSystemError(ERROR_ACCESS_DENIED, "Registry: %s", "GUID"); };
    const struct {
        const char* name;
        std::function<void(CFailingStore&)> arrange;
        std::string current;
        std::string shown;
        int result;
    } cases[] = {
        {"delete refused", [&](CFailingStore& s) { s.failDelete = refuse; }, shownAtStart, SystemText(5) + " (5)", 5},
        {"store refused", [&](CFailingStore& s) { s.failAfterDelete = refuse; }, "", SystemText(5) + " (5)", 5},
        {"no code", [](CFailingStore& s) { s.failDelete = [] { throw CStructException("TEST", 0, "No code."); }; },
         shownAtStart, "No code. (1359)", kFailureWithoutCode},
        {"no text in any language",   // as under Wine
         [](CFailingStore& s) { s.failDelete = [] { RaiseSystemError(12345, "Registry: %s", "GUID"); }; },
         shownAtStart, "Error 12345", 12345},
        {"fault", [&](CFailingStore& s) { s.failAfterDelete = [&] { throw CStructException(CWin32Exception(&faultPointers)); }; },
         "", "The thread tried to read from or write to a virtual address for which it does not have the appropriate "
             "access. (0xC0000005)", static_cast<int>(EXCEPTION_ACCESS_VIOLATION)},
    };
    const CSysPaths noCollector = CSysPaths().SetPath("C:\\no collector here");   // none starts by chance
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CFailingStore store;
        c.arrange(store);
        CRunOutcome outcome;
        CIdentifierDlg dialog(store, noCollector, outcome);
        ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
        EXPECT_EQ(dialog.ChangeIdentifier(), c.result);
        EXPECT_EQ(ItemText(dialog, IDC_NEW_LABEL), "Change failed: ");
        EXPECT_EQ(ItemText(dialog, IDC_NEW_IDENTIFIER), c.shown);
        EXPECT_EQ(ItemText(dialog, IDC_CURRENT_IDENTIFIER), c.current);

        store.failDelete = store.failAfterDelete = [] {};
        dialog.ChangeIdentifier();   // whether a collector starts here or not
        EXPECT_EQ(ItemText(dialog, IDC_NEW_LABEL).rfind("New GUID", 0), 0u) << ItemText(dialog, IDC_NEW_LABEL);
        EXPECT_EQ(ItemText(dialog, IDC_NEW_IDENTIFIER), shownAtStart);
        ResultAtClose(dialog);
    }
}

// When the dialog's DPI changes, the images follow at their 100 % sizes times DPI / 96 (drawn or
// scaled), and each button takes its face's size.
TEST(IdentifierDlg, ADpiChangeBringsTheImagesAtTheNewScale)
{
    CFailingStore store;
    CRunOutcome outcome;
    CIdentifierDlg dialog(store, g_suiteFolder, outcome);
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    const struct { UINT dpi; LONG face, banner, icon, smallIcon; } changes[] = {
        {192, 140, 1016, 64, 32}, {120, 88, 635, 40, 20}, {96, 70, 508, 32, 16}, {300, 219, 1588, 100, 50}};
    for (const auto& change : changes) {
        SCOPED_TRACE(change.dpi);
        RECT suggested{};
        GetWindowRect(dialog.handle, &suggested);
        SendMessageA(dialog.handle, WM_DPICHANGED, MAKEWPARAM(change.dpi, change.dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
            DispatchMessageA(&message);
        for (const int button : {IDC_CHANGE, IDC_CLOSE}) {
            EXPECT_EQ(BitmapWidth(SendDlgItemMessageA(dialog.handle, button, BM_GETIMAGE, IMAGE_BITMAP, 0)), change.face);
            RECT client{};
            GetClientRect(GetDlgItem(dialog.handle, button), &client);
            EXPECT_EQ(client.right, change.face);
        }
        EXPECT_EQ(BitmapWidth(SendDlgItemMessageA(dialog.handle, IDC_BANNER, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                  change.banner);
        for (const auto& [kind, size] : {std::pair{ICON_BIG, change.icon}, std::pair{ICON_SMALL, change.smallIcon}}) {
            ICONINFO icon{};
            ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(dialog.handle, WM_GETICON, kind, 0)), &icon));
            EXPECT_EQ(BitmapWidth(reinterpret_cast<LRESULT>(icon.hbmColor)), size) << "icon " << kind;
            DeleteObject(icon.hbmColor);
            DeleteObject(icon.hbmMask);
        }
    }
    ResultAtClose(dialog);
}

TEST(OuterGuard, AnEscapingExceptionNeverEndsWithZero)
{
    EXPECT_EQ(RunGuarded([](int& exitCode) { exitCode = 3; }), 3);
    EXPECT_EQ(RunGuarded([](int&) { throw std::runtime_error("start-up"); }), kFailureWithoutCode);
    EXPECT_EQ(RunGuarded([](int&) { throw CStructException(); }), kFailureWithoutCode);
    EXPECT_EQ(RunGuarded([](int& exitCode) {
                  exitCode = 7;
                  throw std::runtime_error("after the run");
              }),
              7);
}

TEST(IdentifierApp, ADialogThatCannotBeMadeEndsTheRunWithItsErrorAndOneReport)
{
    ScratchKey identifier(HKEY_CLASSES_ROOT, "Nimbra.Agent.QRM", kRegistryView32);
    RecordingRoutes routes;
    int result = 0;
    {
        CIdentifierApp app(g_identifierStore, g_suiteFolder);
        app.mainWindow.dialog.templateId = 4242;   // a dialog the resources do not have
        result = app.Run("Nimbra VORTAG", "", 0, "");
        EXPECT_EQ(app.mainWindow.handle, nullptr);   // no invisible window left behind
    }
    EXPECT_EQ(result, ERROR_RESOURCE_NAME_NOT_FOUND);
    ASSERT_EQ(routes.Boxes().size(), 1u);
    EXPECT_EQ(routes.Boxes()[0].caption, "Nimbra VORTAG");
    EXPECT_EQ(routes.Boxes()[0].text.rfind("SYSTEM ERROR:\nUnhandled exception\nCDlgBase::ShowModeless\n\nCode: 1814 ", 0), 0u)
        << routes.Boxes()[0].text;
}
