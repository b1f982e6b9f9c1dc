#pragma once
// The message part of every framework object: one virtual operation per window message.
//
// Dispatch turns a message into a call of its operation with wParam and lParam already
// split. Split words (LOWORD, HIWORD) arrive zero-extended: a coordinate left of or above
// the origin arrives as 32768 to 65535. Every default hands the message to DefaultProc.
//
// Next to each operation: the message(s) it serves and where its arguments come from.
// "-> 0" marks the operations whose result is dropped: the procedure answers 0 for them
// (after the default has run); the others' result is the procedure's answer.

#include "foundation/Win32.h"

class CMsgHandler {
public:
    CMsgHandler() = default;
    virtual ~CMsgHandler() = default;
    CMsgHandler(const CMsgHandler&) = delete;
    CMsgHandler& operator=(const CMsgHandler&) = delete;

    LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // ---- The general operations; they read the current message -------------------------
    // Messages below 0x0400 without an operation of their own, and 0xC000 and above.
    virtual LRESULT OnMessage();
    // The default processing of the current message: DefWindowProcA.
    virtual LRESULT DefaultProc();
    // What the OnMessage overrides of the framework's bases pass on.
    virtual LRESULT OnOtherMessage();
    // WM_USER range, 0x0400 to 0x7FFF.
    virtual LRESULT OnUserMessage();
    // WM_APP range, 0x8000 to 0xBFFF.
    virtual LRESULT OnAppMessage();

    // ---- One operation per message ------------------------------------------------------
    // WM_COMPACTING: wParam
    virtual LRESULT OnCompacting(WPARAM cpuTimeRatio);
    // WM_DEVMODECHANGE: lParam -> 0
    virtual LRESULT OnDevModeChange(LPARAM deviceName);
    // WM_DROPFILES: wParam -> 0
    virtual LRESULT OnDropFiles(WPARAM drop);
    // WM_FONTCHANGE -> 0
    virtual LRESULT OnFontChange();
    // WM_PALETTECHANGED: wParam -> 0
    virtual LRESULT OnPaletteChanged(WPARAM paletteWindow);
    // WM_PALETTEISCHANGING: wParam -> 0
    virtual LRESULT OnPaletteIsChanging(WPARAM realizingWindow);
    // WM_SPOOLERSTATUS: wParam, lParam -> 0
    virtual LRESULT OnSpoolerStatus(WPARAM status, LPARAM jobsLeft);
    // WM_SYSCHAR: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnSysChar(WPARAM charCode, UINT repeatCount, LPARAM keyData);
    // WM_SYSCOLORCHANGE -> 0
    virtual LRESULT OnSysColorChange();
    // WM_SYSCOMMAND: wParam, lParam -> 0
    virtual LRESULT OnSysCommand(WPARAM command, LPARAM position);
    // WM_SYSDEADCHAR: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnSysDeadChar(WPARAM charCode, UINT repeatCount, LPARAM keyData);
    // WM_SYSKEYDOWN: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnSysKeyDown(WPARAM virtualKey, UINT repeatCount, LPARAM keyData);
    // WM_SYSKEYUP: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnSysKeyUp(WPARAM virtualKey, UINT repeatCount, LPARAM keyData);
    // WM_TIMECHANGE -> 0
    virtual LRESULT OnTimeChange();
    // WM_WINDOWPOSCHANGED: lParam -> 0
    virtual LRESULT OnWindowPosChanged(LPARAM windowPos);
    // WM_WINDOWPOSCHANGING: lParam -> 0
    virtual LRESULT OnWindowPosChanging(LPARAM windowPos);
    // WM_WININICHANGE: lParam -> 0
    virtual LRESULT OnWinIniChange(LPARAM section);
    // WM_ACTIVATE: LOWORD(wParam), lParam, HIWORD(wParam) -> 0
    virtual LRESULT OnActivate(UINT state, LPARAM otherWindow, UINT minimized);
    // WM_ACTIVATEAPP: wParam, lParam -> 0
    virtual LRESULT OnActivateApp(WPARAM active, LPARAM otherThread);
    // WM_CANCELMODE -> 0
    virtual LRESULT OnCancelMode();
    // WM_CHILDACTIVATE, and WM_CTLCOLORBTN, so push buttons keep the system colours -> 0
    virtual LRESULT OnChildActivate();
    // WM_CLOSE -> 0
    virtual LRESULT OnClose();
    // WM_COMMAND: LOWORD(wParam), HIWORD(wParam), lParam
    virtual LRESULT OnCommand(int id, int code, HWND control);
    // WM_COPYDATA: wParam, lParam
    virtual LRESULT OnCopyData(WPARAM sender, LPARAM copyData);
    // WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX, WM_CTLCOLORDLG, WM_CTLCOLORSCROLLBAR,
    // WM_CTLCOLORSTATIC: wParam, lParam, message (the answer is the background brush)
    virtual LRESULT OnCtlColor(HDC dc, HWND control, UINT message);
    // WM_NCDESTROY, after the window has left the window map -> 0
    virtual LRESULT OnNcDestroy();
    // WM_DESTROY -> 0
    virtual LRESULT OnDestroy();
    // WM_DEVICECHANGE: wParam, lParam
    virtual LRESULT OnDeviceChange(WPARAM event, LPARAM data);
    // WM_ENABLE: wParam -> 0
    virtual LRESULT OnEnable(WPARAM enabled);
    // WM_ENDSESSION: wParam, lParam & 0x80000000 (set when the user logs off) -> 0
    virtual LRESULT OnEndSession(WPARAM ending, LPARAM logoff);
    // WM_ENTERIDLE: wParam, lParam -> 0
    virtual LRESULT OnEnterIdle(WPARAM source, LPARAM window);
    // WM_ERASEBKGND: wParam -> 0
    virtual LRESULT OnEraseBkgnd(WPARAM dc);
    // WM_GETMINMAXINFO: lParam -> 0
    virtual LRESULT OnGetMinMaxInfo(LPARAM minMaxInfo);
    // WM_ICONERASEBKGND: wParam -> 0
    virtual LRESULT OnIconEraseBkgnd(WPARAM dc);
    // WM_KILLFOCUS: wParam -> 0
    virtual LRESULT OnKillFocus(WPARAM focusWindow);
    // WM_MENUCHAR: LOWORD(wParam), HIWORD(wParam), lParam
    virtual LRESULT OnMenuChar(UINT character, UINT menuKind, LPARAM menu);
    // WM_MENUSELECT: LOWORD(wParam), HIWORD(wParam), lParam -> 0
    virtual LRESULT OnMenuSelect(UINT item, UINT flags, LPARAM menu);
    // WM_MOVE: LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnMove(UINT x, UINT y);
    // WM_MOVING: lParam -> 0
    virtual LRESULT OnMoving(LPARAM rect);
    // WM_PAINT -> 0
    virtual LRESULT OnPaint();
    // WM_NOTIFY: wParam, lParam
    virtual LRESULT OnNotify(WPARAM id, LPARAM header);
    // WM_PARENTNOTIFY: LOWORD(wParam), lParam -> 0
    virtual LRESULT OnParentNotify(UINT event, LPARAM data);
    // WM_QUERYDRAGICON
    virtual LRESULT OnQueryDragIcon();
    // WM_QUERYENDSESSION
    virtual LRESULT OnQueryEndSession();
    // WM_QUERYNEWPALETTE
    virtual LRESULT OnQueryNewPalette();
    // WM_QUERYOPEN
    virtual LRESULT OnQueryOpen();
    // WM_SETFOCUS: wParam -> 0
    virtual LRESULT OnSetFocus(WPARAM lostFocusWindow);
    // WM_SHOWWINDOW: wParam, lParam -> 0
    virtual LRESULT OnShowWindow(WPARAM shown, LPARAM status);
    // WM_SIZE: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnSize(WPARAM kind, UINT width, UINT height);
    // WM_SIZING: wParam, lParam -> 0
    virtual LRESULT OnSizing(WPARAM edge, LPARAM rect);
    // WM_STYLECHANGED: wParam, lParam -> 0
    virtual LRESULT OnStyleChanged(WPARAM styleKind, LPARAM styles);
    // WM_STYLECHANGING: wParam, lParam -> 0
    virtual LRESULT OnStyleChanging(WPARAM styleKind, LPARAM styles);
    // WM_CHARTOITEM: LOWORD(wParam), HIWORD(wParam), lParam
    virtual LRESULT OnCharToItem(UINT character, UINT caretIndex, LPARAM listBox);
    // WM_COMPAREITEM: wParam, lParam
    virtual LRESULT OnCompareItem(WPARAM controlId, LPARAM compareItem);
    // WM_DELETEITEM: wParam, lParam -> 0
    virtual LRESULT OnDeleteItem(WPARAM controlId, LPARAM deleteItem);
    // WM_DRAWITEM: wParam, lParam -> 0
    virtual LRESULT OnDrawItem(WPARAM controlId, LPARAM drawItem);
    // WM_GETDLGCODE
    virtual LRESULT OnGetDlgCode();
    // WM_MEASUREITEM: wParam, lParam -> 0
    virtual LRESULT OnMeasureItem(WPARAM controlId, LPARAM measureItem);
    // WM_VKEYTOITEM: LOWORD(wParam), HIWORD(wParam), lParam
    virtual LRESULT OnVKeyToItem(UINT virtualKey, UINT caretIndex, LPARAM listBox);
    // WM_CAPTURECHANGED: lParam -> 0
    virtual LRESULT OnCaptureChanged(LPARAM captureWindow);
    // WM_CHAR: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnChar(WPARAM charCode, UINT repeatCount, LPARAM keyData);
    // WM_DEADCHAR: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnDeadChar(WPARAM charCode, UINT repeatCount, LPARAM keyData);
    // WM_HSCROLL: LOWORD(wParam), HIWORD(wParam), lParam -> 0
    virtual LRESULT OnHScroll(UINT request, UINT position, LPARAM scrollBar);
    // WM_KEYDOWN: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnKeyDown(WPARAM virtualKey, UINT repeatCount, LPARAM keyData);
    // WM_KEYUP: wParam, LOWORD(lParam), lParam -> 0
    virtual LRESULT OnKeyUp(WPARAM virtualKey, UINT repeatCount, LPARAM keyData);
    // WM_LBUTTONDBLCLK: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnLButtonDblClk(WPARAM keys, UINT x, UINT y);
    // WM_LBUTTONDOWN: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnLButtonDown(WPARAM keys, UINT x, UINT y);
    // WM_LBUTTONUP: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnLButtonUp(WPARAM keys, UINT x, UINT y);
    // WM_MBUTTONDBLCLK: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnMButtonDblClk(WPARAM keys, UINT x, UINT y);
    // WM_MBUTTONDOWN: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnMButtonDown(WPARAM keys, UINT x, UINT y);
    // WM_MBUTTONUP: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnMButtonUp(WPARAM keys, UINT x, UINT y);
    // WM_MOUSEACTIVATE: wParam, LOWORD(lParam), HIWORD(lParam)
    virtual LRESULT OnMouseActivate(WPARAM topLevel, UINT hitTest, UINT mouseMessage);
    // WM_MOUSEMOVE: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnMouseMove(WPARAM keys, UINT x, UINT y);
    // WM_MOUSEWHEEL: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnMouseWheel(WPARAM keysAndDelta, UINT x, UINT y);
    // WM_RBUTTONDBLCLK: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnRButtonDblClk(WPARAM keys, UINT x, UINT y);
    // WM_RBUTTONDOWN: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnRButtonDown(WPARAM keys, UINT x, UINT y);
    // WM_RBUTTONUP: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnRButtonUp(WPARAM keys, UINT x, UINT y);
    // WM_SETCURSOR: wParam, LOWORD(lParam), HIWORD(lParam)
    virtual LRESULT OnSetCursor(WPARAM cursorWindow, UINT hitTest, UINT mouseMessage);
    // WM_TIMER: wParam -> 0
    virtual LRESULT OnTimer(WPARAM timerId);
    // WM_VSCROLL: LOWORD(wParam), HIWORD(wParam), lParam -> 0
    virtual LRESULT OnVScroll(UINT request, UINT position, LPARAM scrollBar);
    // WM_NCACTIVATE: wParam
    virtual LRESULT OnNcActivate(WPARAM active);
    // WM_NCCALCSIZE: wParam, lParam -> 0
    virtual LRESULT OnNcCalcSize(WPARAM validArea, LPARAM params);
    // WM_NCCREATE: lParam
    virtual LRESULT OnNcCreate(LPARAM createStruct);
    // WM_NCHITTEST: LOWORD(lParam), HIWORD(lParam)
    virtual LRESULT OnNcHitTest(UINT x, UINT y);
    // WM_NCLBUTTONDBLCLK: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcLButtonDblClk(WPARAM hitTest, UINT x, UINT y);
    // WM_NCLBUTTONDOWN: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcLButtonDown(WPARAM hitTest, UINT x, UINT y);
    // WM_NCLBUTTONUP: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcLButtonUp(WPARAM hitTest, UINT x, UINT y);
    // WM_NCMBUTTONDBLCLK: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcMButtonDblClk(WPARAM hitTest, UINT x, UINT y);
    // WM_NCMBUTTONDOWN: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcMButtonDown(WPARAM hitTest, UINT x, UINT y);
    // WM_NCMBUTTONUP: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcMButtonUp(WPARAM hitTest, UINT x, UINT y);
    // WM_NCMOUSEMOVE: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcMouseMove(WPARAM hitTest, UINT x, UINT y);
    // WM_NCPAINT -> 0
    virtual LRESULT OnNcPaint();
    // WM_NCRBUTTONDBLCLK: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcRButtonDblClk(WPARAM hitTest, UINT x, UINT y);
    // WM_NCRBUTTONDOWN: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcRButtonDown(WPARAM hitTest, UINT x, UINT y);
    // WM_NCRBUTTONUP: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnNcRButtonUp(WPARAM hitTest, UINT x, UINT y);
    // WM_MDIACTIVATE: wParam -> 0
    virtual LRESULT OnMdiActivate(WPARAM window);
    // WM_ASKCBFORMATNAME: wParam, lParam -> 0
    virtual LRESULT OnAskCbFormatName(WPARAM bufferSize, LPARAM buffer);
    // WM_CHANGECBCHAIN: wParam, lParam -> 0
    virtual LRESULT OnChangeCbChain(WPARAM removedWindow, LPARAM nextWindow);
    // WM_DESTROYCLIPBOARD -> 0
    virtual LRESULT OnDestroyClipboard();
    // WM_DRAWCLIPBOARD -> 0
    virtual LRESULT OnDrawClipboard();
    // WM_HSCROLLCLIPBOARD: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnHScrollClipboard(WPARAM viewer, UINT request, UINT position);
    // WM_PAINTCLIPBOARD: wParam, lParam -> 0
    virtual LRESULT OnPaintClipboard(WPARAM viewer, LPARAM paintStruct);
    // WM_RENDERALLFORMATS -> 0
    virtual LRESULT OnRenderAllFormats();
    // WM_RENDERFORMAT: wParam -> 0
    virtual LRESULT OnRenderFormat(WPARAM format);
    // WM_SIZECLIPBOARD: wParam, lParam -> 0
    virtual LRESULT OnSizeClipboard(WPARAM viewer, LPARAM rect);
    // WM_VSCROLLCLIPBOARD: wParam, LOWORD(lParam), HIWORD(lParam) -> 0
    virtual LRESULT OnVScrollClipboard(WPARAM viewer, UINT request, UINT position);

    // The message being dispatched (time and point zero). A nested dispatch replaces it
    // while it runs; the outer message is back when the nested one returns.
    MSG currentMessage{};

private:
    LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
