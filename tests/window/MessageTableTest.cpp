// Every message of the table reaches its own operation with its arguments split, and the
// procedure answers what the row says.

#include "tests/window/TestWindows.h"
#include "window/WndMap.h"
#include "window/WndProcs.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace {

// The parameters sent with every row: each word of them has its top bit set, so a split
// that sign-extends shows.
constexpr uint32_t W = 0x00C8FF38;
constexpr uint32_t WLO = 65336, WHI = 200;
constexpr uint32_t L = 0xFFF6FFEC;
constexpr uint32_t LLO = 65516, LHI = 65526;   // x = -20, y = -10
constexpr LRESULT kHandled = 0x7A11;           // what every recording handler answers
constexpr bool kReturned = true, kZero = false;

struct Row {
    UINT message;
    const char* handler;
    std::vector<uint32_t> args;
    bool returned;   // the procedure answers the handler's result, else 0
    uint32_t lParam = L;
};

const Row kRows[] = {
    {WM_COMPACTING, "OnCompacting", {W}, kReturned},
    {WM_DEVMODECHANGE, "OnDevModeChange", {L}, kZero},
    {WM_DROPFILES, "OnDropFiles", {W}, kZero},
    {WM_FONTCHANGE, "OnFontChange", {}, kZero},
    {WM_PALETTECHANGED, "OnPaletteChanged", {W}, kZero},
    {WM_PALETTEISCHANGING, "OnPaletteIsChanging", {W}, kZero},
    {WM_SPOOLERSTATUS, "OnSpoolerStatus", {W, L}, kZero},
    {WM_SYSCHAR, "OnSysChar", {W, LLO, L}, kZero},
    {WM_SYSCOLORCHANGE, "OnSysColorChange", {}, kZero},
    {WM_SYSCOMMAND, "OnSysCommand", {W, L}, kZero},
    {WM_SYSDEADCHAR, "OnSysDeadChar", {W, LLO, L}, kZero},
    {WM_SYSKEYDOWN, "OnSysKeyDown", {W, LLO, L}, kZero},
    {WM_SYSKEYUP, "OnSysKeyUp", {W, LLO, L}, kZero},
    {WM_TIMECHANGE, "OnTimeChange", {}, kZero},
    {WM_WINDOWPOSCHANGED, "OnWindowPosChanged", {L}, kZero},
    {WM_WINDOWPOSCHANGING, "OnWindowPosChanging", {L}, kZero},
    {WM_WININICHANGE, "OnWinIniChange", {L}, kZero},
    {WM_ACTIVATE, "OnActivate", {WLO, L, WHI}, kZero},
    {WM_ACTIVATEAPP, "OnActivateApp", {W, L}, kZero},
    {WM_CANCELMODE, "OnCancelMode", {}, kZero},
    {WM_CHILDACTIVATE, "OnChildActivate", {}, kZero},
    {WM_CTLCOLORBTN, "OnChildActivate", {}, kZero},
    {WM_CLOSE, "OnClose", {}, kZero},
    {WM_COMMAND, "OnCommand", {WLO, WHI, L}, kReturned},
    {WM_COPYDATA, "OnCopyData", {W, L}, kReturned},
    {WM_CTLCOLOREDIT, "OnCtlColor", {W, L, 0x0133}, kReturned},
    {WM_CTLCOLORLISTBOX, "OnCtlColor", {W, L, 0x0134}, kReturned},
    {WM_CTLCOLORDLG, "OnCtlColor", {W, L, 0x0136}, kReturned},
    {WM_CTLCOLORSCROLLBAR, "OnCtlColor", {W, L, 0x0137}, kReturned},
    {WM_CTLCOLORSTATIC, "OnCtlColor", {W, L, 0x0138}, kReturned},
    {WM_DESTROY, "OnDestroy", {}, kZero},
    {WM_DEVICECHANGE, "OnDeviceChange", {W, L}, kReturned},
    {WM_ENABLE, "OnEnable", {W}, kZero},
    {WM_ENDSESSION, "OnEndSession", {W, 0x80000000}, kZero},
    {WM_ENTERIDLE, "OnEnterIdle", {W, L}, kZero},
    {WM_ERASEBKGND, "OnEraseBkgnd", {W}, kZero},
    {WM_GETMINMAXINFO, "OnGetMinMaxInfo", {L}, kZero},
    {WM_ICONERASEBKGND, "OnIconEraseBkgnd", {W}, kZero},
    {WM_KILLFOCUS, "OnKillFocus", {W}, kZero},
    {WM_MENUCHAR, "OnMenuChar", {WLO, WHI, L}, kReturned},
    {WM_MENUSELECT, "OnMenuSelect", {WLO, WHI, L}, kZero},
    {WM_MOVE, "OnMove", {LLO, LHI}, kZero},
    {WM_MOVING, "OnMoving", {L}, kZero},
    {WM_PAINT, "OnPaint", {}, kZero},
    {WM_NOTIFY, "OnNotify", {W, L}, kReturned},
    {WM_PARENTNOTIFY, "OnParentNotify", {WLO, L}, kZero},
    {WM_QUERYDRAGICON, "OnQueryDragIcon", {}, kReturned},
    {WM_QUERYENDSESSION, "OnQueryEndSession", {}, kReturned},
    {WM_QUERYNEWPALETTE, "OnQueryNewPalette", {}, kReturned},
    {WM_QUERYOPEN, "OnQueryOpen", {}, kReturned},
    {WM_SETFOCUS, "OnSetFocus", {W}, kZero},
    {WM_SHOWWINDOW, "OnShowWindow", {W, L}, kZero},
    {WM_SIZE, "OnSize", {W, LLO, LHI}, kZero},
    {WM_SIZING, "OnSizing", {W, L}, kZero},
    {WM_STYLECHANGED, "OnStyleChanged", {W, L}, kZero},
    {WM_STYLECHANGING, "OnStyleChanging", {W, L}, kZero},
    {WM_CHARTOITEM, "OnCharToItem", {WLO, WHI, L}, kReturned},
    {WM_COMPAREITEM, "OnCompareItem", {W, L}, kReturned},
    {WM_DELETEITEM, "OnDeleteItem", {W, L}, kZero},
    {WM_DRAWITEM, "OnDrawItem", {W, L}, kZero},
    {WM_GETDLGCODE, "OnGetDlgCode", {}, kReturned},
    {WM_MEASUREITEM, "OnMeasureItem", {W, L}, kZero},
    {WM_VKEYTOITEM, "OnVKeyToItem", {WLO, WHI, L}, kReturned},
    {WM_CAPTURECHANGED, "OnCaptureChanged", {L}, kZero},
    {WM_CHAR, "OnChar", {W, LLO, L}, kZero},
    {WM_DEADCHAR, "OnDeadChar", {W, LLO, L}, kZero},
    {WM_HSCROLL, "OnHScroll", {WLO, WHI, L}, kZero},
    {WM_KEYDOWN, "OnKeyDown", {W, LLO, L}, kZero},
    {WM_KEYUP, "OnKeyUp", {W, LLO, L}, kZero},
    {WM_LBUTTONDBLCLK, "OnLButtonDblClk", {W, LLO, LHI}, kZero},
    {WM_LBUTTONDOWN, "OnLButtonDown", {W, LLO, LHI}, kZero},
    {WM_LBUTTONUP, "OnLButtonUp", {W, LLO, LHI}, kZero},
    {WM_MBUTTONDBLCLK, "OnMButtonDblClk", {W, LLO, LHI}, kZero},
    {WM_MBUTTONDOWN, "OnMButtonDown", {W, LLO, LHI}, kZero},
    {WM_MBUTTONUP, "OnMButtonUp", {W, LLO, LHI}, kZero},
    {WM_MOUSEACTIVATE, "OnMouseActivate", {W, LLO, LHI}, kReturned},
    {WM_MOUSEMOVE, "OnMouseMove", {W, LLO, LHI}, kZero},
    {WM_MOUSEWHEEL, "OnMouseWheel", {W, LLO, LHI}, kZero},
    {WM_RBUTTONDBLCLK, "OnRButtonDblClk", {W, LLO, LHI}, kZero},
    {WM_RBUTTONDOWN, "OnRButtonDown", {W, LLO, LHI}, kZero},
    {WM_RBUTTONUP, "OnRButtonUp", {W, LLO, LHI}, kZero},
    {WM_SETCURSOR, "OnSetCursor", {W, LLO, LHI}, kReturned},
    {WM_TIMER, "OnTimer", {W}, kZero},
    {WM_VSCROLL, "OnVScroll", {WLO, WHI, L}, kZero},
    {WM_NCACTIVATE, "OnNcActivate", {W}, kReturned},
    {WM_NCCALCSIZE, "OnNcCalcSize", {W, L}, kZero},
    {WM_NCCREATE, "OnNcCreate", {L}, kReturned},
    {WM_NCHITTEST, "OnNcHitTest", {LLO, LHI}, kReturned},
    {WM_NCLBUTTONDBLCLK, "OnNcLButtonDblClk", {W, LLO, LHI}, kZero},
    {WM_NCLBUTTONDOWN, "OnNcLButtonDown", {W, LLO, LHI}, kZero},
    {WM_NCLBUTTONUP, "OnNcLButtonUp", {W, LLO, LHI}, kZero},
    {WM_NCMBUTTONDBLCLK, "OnNcMButtonDblClk", {W, LLO, LHI}, kZero},
    {WM_NCMBUTTONDOWN, "OnNcMButtonDown", {W, LLO, LHI}, kZero},
    {WM_NCMBUTTONUP, "OnNcMButtonUp", {W, LLO, LHI}, kZero},
    {WM_NCMOUSEMOVE, "OnNcMouseMove", {W, LLO, LHI}, kZero},
    {WM_NCPAINT, "OnNcPaint", {}, kZero},
    {WM_NCRBUTTONDBLCLK, "OnNcRButtonDblClk", {W, LLO, LHI}, kZero},
    {WM_NCRBUTTONDOWN, "OnNcRButtonDown", {W, LLO, LHI}, kZero},
    {WM_NCRBUTTONUP, "OnNcRButtonUp", {W, LLO, LHI}, kZero},
    {WM_MDIACTIVATE, "OnMdiActivate", {W}, kZero},
    {WM_ASKCBFORMATNAME, "OnAskCbFormatName", {W, L}, kZero},
    {WM_CHANGECBCHAIN, "OnChangeCbChain", {W, L}, kZero},
    {WM_DESTROYCLIPBOARD, "OnDestroyClipboard", {}, kZero},
    {WM_DRAWCLIPBOARD, "OnDrawClipboard", {}, kZero},
    {WM_HSCROLLCLIPBOARD, "OnHScrollClipboard", {W, LLO, LHI}, kZero},
    {WM_PAINTCLIPBOARD, "OnPaintClipboard", {W, L}, kZero},
    {WM_RENDERALLFORMATS, "OnRenderAllFormats", {}, kZero},
    {WM_RENDERFORMAT, "OnRenderFormat", {W}, kZero},
    {WM_SIZECLIPBOARD, "OnSizeClipboard", {W, L}, kZero},
    {WM_VSCROLLCLIPBOARD, "OnVScrollClipboard", {W, LLO, LHI}, kZero},
    {WM_ENDSESSION, "OnEndSession", {W, 0}, kZero, 1},
    {WM_ENDSESSION, "OnEndSession", {W, 0x80000000}, kZero, 0x80000001},
    // No row of their own.
    {0x03FF, "OnMessage", {}, kReturned},
    {WM_CREATE, "OnMessage", {}, kReturned},
    {WM_INITDIALOG, "OnMessage", {}, kReturned},
    {WM_CTLCOLORMSGBOX, "OnMessage", {}, kReturned},
    {0x0400, "OnUserMessage", {}, kReturned},
    {0x7FFF, "OnUserMessage", {}, kReturned},
    {0x8000, "OnAppMessage", {}, kReturned},
    {0xBFFF, "OnAppMessage", {}, kReturned},
    {0xC000, "OnMessage", {}, kReturned},
    {0xFFFF, "OnMessage", {}, kReturned},
};

struct Call {
    std::string handler;
    std::vector<uint32_t> args;
};

template <typename T>
uint32_t Bits(T value)
{
    if constexpr (std::is_pointer_v<T>)
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(value));
    else
        return static_cast<uint32_t>(value);
}

// Records every operation it is called for once `recording` is set; before that (while
// the window is made) every operation does the default.
class CRecordingWnd : public CTestWnd {
public:
    CRecordingWnd() : CTestWnd("VortagTestRecording") {}

    template <typename... TArgs>
    LRESULT Record(const char* handler, TArgs... args)
    {
        if (!recording)
            return DefaultProc();
        calls.push_back({handler, {Bits(args)...}});
        return kHandled;
    }

    LRESULT OnMessage() override { return recording ? Record(__func__) : CTestWnd::OnMessage(); }
    LRESULT OnUserMessage() override { return Record(__func__); }
    LRESULT OnAppMessage() override { return Record(__func__); }
    LRESULT OnCompacting(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnDevModeChange(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnDropFiles(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnFontChange() override { return Record(__func__); }
    LRESULT OnPaletteChanged(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnPaletteIsChanging(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnSpoolerStatus(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnSysChar(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnSysColorChange() override { return Record(__func__); }
    LRESULT OnSysCommand(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnSysDeadChar(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnSysKeyDown(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnSysKeyUp(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnTimeChange() override { return Record(__func__); }
    LRESULT OnWindowPosChanged(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnWindowPosChanging(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnWinIniChange(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnActivate(UINT a, LPARAM b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnActivateApp(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnCancelMode() override { return Record(__func__); }
    LRESULT OnChildActivate() override { return Record(__func__); }
    LRESULT OnClose() override { return Record(__func__); }
    LRESULT OnCommand(int a, int b, HWND c) override { return Record(__func__, a, b, c); }
    LRESULT OnCopyData(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnCtlColor(HDC a, HWND b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcDestroy() override { return Record(__func__); }
    LRESULT OnDestroy() override { return Record(__func__); }
    LRESULT OnDeviceChange(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnEnable(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnEndSession(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnEnterIdle(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnEraseBkgnd(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnGetMinMaxInfo(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnIconEraseBkgnd(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnKillFocus(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnMenuChar(UINT a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnMenuSelect(UINT a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnMove(UINT a, UINT b) override { return Record(__func__, a, b); }
    LRESULT OnMoving(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnPaint() override { return Record(__func__); }
    LRESULT OnNotify(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnParentNotify(UINT a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnQueryDragIcon() override { return Record(__func__); }
    LRESULT OnQueryEndSession() override { return Record(__func__); }
    LRESULT OnQueryNewPalette() override { return Record(__func__); }
    LRESULT OnQueryOpen() override { return Record(__func__); }
    LRESULT OnSetFocus(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnShowWindow(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnSize(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnSizing(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnStyleChanged(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnStyleChanging(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnCharToItem(UINT a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnCompareItem(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnDeleteItem(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnDrawItem(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnGetDlgCode() override { return Record(__func__); }
    LRESULT OnMeasureItem(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnVKeyToItem(UINT a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnCaptureChanged(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnChar(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnDeadChar(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnHScroll(UINT a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnKeyDown(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnKeyUp(WPARAM a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnLButtonDblClk(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnLButtonDown(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnLButtonUp(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMButtonDblClk(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMButtonDown(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMButtonUp(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMouseActivate(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMouseMove(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMouseWheel(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnRButtonDblClk(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnRButtonDown(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnRButtonUp(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnSetCursor(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnTimer(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnVScroll(UINT a, UINT b, LPARAM c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcActivate(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnNcCalcSize(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnNcCreate(LPARAM a) override { return Record(__func__, a); }
    LRESULT OnNcHitTest(UINT a, UINT b) override { return Record(__func__, a, b); }
    LRESULT OnNcLButtonDblClk(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcLButtonDown(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcLButtonUp(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcMButtonDblClk(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcMButtonDown(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcMButtonUp(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcMouseMove(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcPaint() override { return Record(__func__); }
    LRESULT OnNcRButtonDblClk(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcRButtonDown(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnNcRButtonUp(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnMdiActivate(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnAskCbFormatName(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnChangeCbChain(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnDestroyClipboard() override { return Record(__func__); }
    LRESULT OnDrawClipboard() override { return Record(__func__); }
    LRESULT OnHScrollClipboard(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }
    LRESULT OnPaintClipboard(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnRenderAllFormats() override { return Record(__func__); }
    LRESULT OnRenderFormat(WPARAM a) override { return Record(__func__, a); }
    LRESULT OnSizeClipboard(WPARAM a, LPARAM b) override { return Record(__func__, a, b); }
    LRESULT OnVScrollClipboard(WPARAM a, UINT b, UINT c) override { return Record(__func__, a, b, c); }

    bool recording = false;
    std::vector<Call> calls;
};

class MessageTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
        window.recording = true;
    }
    CRecordingWnd window;
};

// WM_NCDESTROY unbinds the window, so it comes after all the others.
TEST_F(MessageTable, EveryMessageReachesItsOperationWithItsArgumentsAndResult)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << row.message);
        window.calls.clear();
        const LRESULT result = SendMessageA(window.handle, row.message, W, static_cast<LPARAM>(row.lParam));
        ASSERT_EQ(window.calls.size(), 1u);
        EXPECT_EQ(window.calls[0].handler, row.handler);
        EXPECT_EQ(window.calls[0].args, row.args);
        EXPECT_EQ(result, row.returned ? kHandled : 0);
    }

    const HWND hwnd = window.handle;
    window.calls.clear();
    EXPECT_EQ(SendMessageA(hwnd, WM_NCDESTROY, W, L), 0);
    ASSERT_EQ(window.calls.size(), 1u);
    EXPECT_EQ(window.calls[0].handler, "OnNcDestroy");
    EXPECT_EQ(g_wndMap.FindByHandle(hwnd), nullptr);
    // Unbound: later messages are answered 0 without reaching the object.
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(window.calls.size(), 1u);
}

// Without overrides a window answers DefWindowProcA's result only where the row says so.
TEST(PlainWindow, AnswersTheDefaultResultOnlyForReturnedRows)
{
    CTestWnd window("VortagTestPlain");
    window.background = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
    const HDC dc = GetDC(window.handle);
    const WPARAM dcParam = reinterpret_cast<WPARAM>(dc);
    EXPECT_NE(DefWindowProcA(window.handle, WM_ERASEBKGND, dcParam, 0), 0);
    EXPECT_EQ(SendMessageA(window.handle, WM_ERASEBKGND, dcParam, 0), 0);
    ReleaseDC(window.handle, dc);

    EXPECT_EQ(SendMessageA(window.handle, WM_QUERYENDSESSION, 0, 0), 1);
    EXPECT_EQ(SendMessageA(window.handle, WM_NCHITTEST, 0, 0),
              DefWindowProcA(window.handle, WM_NCHITTEST, 0, 0));
}

// A handler that sends a message to its own window still finds its own message afterwards.
TEST(CurrentMessage, IsTheOuterMessageAgainAfterANestedDispatch)
{
    class CNestingWnd : public CTestWnd {
    public:
        LRESULT OnUserMessage() override
        {
            if (currentMessage.message == WM_USER)
                SendMessageA(handle, WM_USER + 1, 0, 0);
            return static_cast<LRESULT>(currentMessage.message);
        }
    } window;
    ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
    EXPECT_EQ(SendMessageA(window.handle, WM_USER, 0, 0), WM_USER);
}

// A dialog's default processing is the dialog manager's: its procedure says "not handled".
TEST(PlainDialog, AnswersZeroForEverythingButWmInitDialog)
{
    CTestDlg dialog;
    ASSERT_EQ(dialog.ShowModeless(nullptr, 0), 0u);
    ASSERT_EQ(reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog.handle, DWLP_DLGPROC)),
              reinterpret_cast<DLGPROC>(&RoutingProc));
    for (const Row& row : kRows) {
        if (row.message == WM_CLOSE)
            continue;   // closes the dialog; see the dialog tests
        SCOPED_TRACE(testing::Message() << "message 0x" << std::hex << row.message);
        EXPECT_EQ(RoutingProc(dialog.handle, row.message, W, static_cast<LPARAM>(row.lParam)),
                  row.message == WM_INITDIALOG ? 1 : 0);
    }
}

}  // namespace
