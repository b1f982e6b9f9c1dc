// Modeless dialogs from the tool's template 101.

#include "tests/window/TestWindows.h"
#include "window/WndMap.h"
#include "window/WndProcs.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Answers a brush for every colour message it is asked, and remembers what it saw.
class CColouringDlg : public CTestDlg {
public:
    BOOL OnInitDialog() override
    {
        initParam = currentMessage.lParam;
        return CTestDlg::OnInitDialog();
    }
    LRESULT OnCtlColor(HDC, HWND, UINT message) override
    {
        lastColourMessage = message;
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    LPARAM initParam = 0;
    UINT lastColourMessage = 0;
};

}  // namespace

TEST(DlgBase, ShowModelessShowsTheTemplateBoundToTheObject)
{
    const uint32_t entries = g_wndMap.GetCount();
    CColouringDlg dialog;
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0x1234), 0u);
    EXPECT_TRUE(IsWindowVisible(dialog.handle));
    EXPECT_EQ(dialog.initParam, 0x1234);
    EXPECT_EQ(dialog.modal, 0);
    EXPECT_NE(dialog.GetItem(205), nullptr);
    ASSERT_NE(g_wndMap.FindByHandle(dialog.handle), nullptr);
    EXPECT_EQ(g_wndMap.FindByHandle(dialog.handle)->object, &dialog);
    EXPECT_EQ(g_wndMap.GetCount(), entries + 1);
}

TEST(DlgBase, WmCloseDestroysAModelessDialogAndClearsItsHandle)
{
    const uint32_t entries = g_wndMap.GetCount();
    CTestDlg dialog;
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    const HWND hwnd = dialog.handle;
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(dialog.handle, nullptr);
    EXPECT_EQ(g_wndMap.GetCount(), entries);
}

TEST(DlgBase, DestroyingTheObjectTakesOnlyAModelessDialogsWindow)
{
    const uint32_t entries = g_wndMap.GetCount();
    auto shown = std::make_unique<CTestDlg>();
    ASSERT_EQ(shown->ShowModeless(nullptr, 0), 0u);
    const HWND hwnd = shown->handle;
    shown.reset();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(g_wndMap.GetCount(), entries);

    // A dialog never shown counts as modal: its destructor leaves any window alone, and
    // Close fails on it without touching anything.
    CTestWnd bystander;
    ASSERT_EQ(bystander.Create(nullptr, nullptr), 0u);
    {
        CTestDlg neverShown;
        EXPECT_EQ(neverShown.Close(0), 0);
        neverShown.handle = bystander.handle;
    }
    EXPECT_TRUE(IsWindow(bystander.handle));
}

TEST(DlgBase, AMissingTemplateGivesTheSystemErrorAndLeavesNoTrace)
{
    const uint32_t entries = g_wndMap.GetCount();
    CTestDlg dialog;
    dialog.templateId = 999;
    EXPECT_EQ(dialog.ShowModeless(nullptr, 0), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(dialog.handle, nullptr);
    EXPECT_EQ(dialog.modal, 0);
    EXPECT_EQ(g_wndMap.GetCount(), entries);
}

// Push buttons keep the system colours whatever the dialog answers for the others.
TEST(DlgBase, WmCtlColorBtnIsAnsweredZeroWithoutAskingOnCtlColor)
{
    CColouringDlg dialog;
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    const HDC dc = GetDC(dialog.handle);
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);
    const LPARAM button = reinterpret_cast<LPARAM>(dialog.GetItem(202));
    const LPARAM label = reinterpret_cast<LPARAM>(dialog.GetItem(201));
    dialog.lastColourMessage = 0;
    EXPECT_EQ(RoutingProc(dialog.handle, WM_CTLCOLORBTN, dcParam, button), 0);
    EXPECT_EQ(dialog.lastColourMessage, 0u);
    EXPECT_EQ(RoutingProc(dialog.handle, WM_CTLCOLORSTATIC, dcParam, label),
              reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(dialog.lastColourMessage, static_cast<UINT>(WM_CTLCOLORSTATIC));
    ReleaseDC(dialog.handle, dc);
}

TEST(DlgBase, TextSettersFormatIntoExistingControlsOnly)
{
    CTestDlg dialog;
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    EXPECT_NE(dialog.SetDlgItemTextFormat(201, "%s %d%%", "at", 5), 0);
    char text[32] = {};
    GetDlgItemTextA(dialog.handle, 201, text, sizeof text);
    EXPECT_STREQ(text, "at 5%");
    EXPECT_EQ(dialog.SetDlgItemTextFormat(4242, "text"), 0);
    EXPECT_EQ(dialog.SetDlgItemTextFormat(201, nullptr), 0);
    GetDlgItemTextA(dialog.handle, 201, text, sizeof text);
    EXPECT_STREQ(text, "at 5%");
}

// A face is freed when another replaces it, and the last one when the object goes.
TEST(DlgBase, SetButtonBitmapPutsTheFaceOnTheButtonAndFreesItWhenDone)
{
    HBITMAP replaced = nullptr, last = nullptr;
    {
        CTestDlg dialog;
        ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
        const auto face = [&] { return reinterpret_cast<HBITMAP>(SendMessageA(dialog.GetItem(202), BM_GETIMAGE, IMAGE_BITMAP, 0)); };
        dialog.SetButtonBitmap(202, 103);
        replaced = face();
        EXPECT_EQ(GetObjectType(replaced), static_cast<DWORD>(OBJ_BITMAP));
        dialog.SetButtonBitmap(202, 103);
        last = face();
        EXPECT_EQ(GetObjectType(replaced), 0u);
        EXPECT_EQ(GetObjectType(last), static_cast<DWORD>(OBJ_BITMAP));
        dialog.SetButtonBitmap(203, 4242);   // no such bitmap: nothing on the button
        EXPECT_EQ(SendMessageA(dialog.GetItem(203), BM_GETIMAGE, IMAGE_BITMAP, 0), 0);
        dialog.SetButtonBitmap(4242, 103);   // no such control: nothing happens
    }
    EXPECT_EQ(GetObjectType(last), 0u);
}
