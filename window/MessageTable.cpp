#include "window/MsgHandler.h"

#include "window/WndMap.h"

namespace {

// Puts a message in place as the current one for as long as its dispatch runs.
class CurrentMessageScope {
public:
    CurrentMessageScope(MSG& current, const MSG& message) : m_current(current), m_saved(current)
    {
        m_current = message;
    }
    ~CurrentMessageScope() { m_current = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    MSG& m_current;
    const MSG m_saved;
};

}  // namespace

LRESULT CMsgHandler::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A handler that sends a message to its own window and then calls DefaultProc() still
    // passes its own message on.
    const CurrentMessageScope scope(currentMessage, MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    return Route(hwnd, message, wParam, lParam);
}

// The message table: one row a message, in the order of the operations.
LRESULT CMsgHandler::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER) {
        if (message < WM_APP)
            return OnUserMessage();
        if (message < 0xC000)
            return OnAppMessage();
        return OnMessage();   // registered messages
    }

    switch (message) {
    case WM_COMPACTING:        return OnCompacting(wParam);
    case WM_DEVMODECHANGE:     OnDevModeChange(lParam); return 0;
    case WM_DROPFILES:         OnDropFiles(wParam); return 0;
    case WM_FONTCHANGE:        OnFontChange(); return 0;
    case WM_PALETTECHANGED:    OnPaletteChanged(wParam); return 0;
    case WM_PALETTEISCHANGING: OnPaletteIsChanging(wParam); return 0;
    case WM_SPOOLERSTATUS:     OnSpoolerStatus(wParam, lParam); return 0;
    case WM_SYSCHAR:           OnSysChar(wParam, LOWORD(lParam), lParam); return 0;
    case WM_SYSCOLORCHANGE:    OnSysColorChange(); return 0;
    case WM_SYSCOMMAND:        OnSysCommand(wParam, lParam); return 0;
    case WM_SYSDEADCHAR:       OnSysDeadChar(wParam, LOWORD(lParam), lParam); return 0;
    case WM_SYSKEYDOWN:        OnSysKeyDown(wParam, LOWORD(lParam), lParam); return 0;
    case WM_SYSKEYUP:          OnSysKeyUp(wParam, LOWORD(lParam), lParam); return 0;
    case WM_TIMECHANGE:        OnTimeChange(); return 0;
    case WM_WINDOWPOSCHANGED:  OnWindowPosChanged(lParam); return 0;
    case WM_WINDOWPOSCHANGING: OnWindowPosChanging(lParam); return 0;
    case WM_WININICHANGE:      OnWinIniChange(lParam); return 0;
    case WM_ACTIVATE:          OnActivate(LOWORD(wParam), lParam, HIWORD(wParam)); return 0;
    case WM_ACTIVATEAPP:       OnActivateApp(wParam, lParam); return 0;
    case WM_CANCELMODE:        OnCancelMode(); return 0;
    case WM_CHILDACTIVATE:     OnChildActivate(); return 0;
    case WM_CTLCOLORBTN:       OnChildActivate(); return 0;   // not OnCtlColor: buttons keep the system colours
    case WM_CLOSE:             OnClose(); return 0;
    case WM_COMMAND:           return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COPYDATA:          return OnCopyData(wParam, lParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:    return OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message);
    case WM_NCDESTROY:         g_wndMap.RemoveByHandle(hwnd); OnNcDestroy(); return 0;
    case WM_DESTROY:           OnDestroy(); return 0;
    case WM_DEVICECHANGE:      return OnDeviceChange(wParam, lParam);
    case WM_ENABLE:            OnEnable(wParam); return 0;
    case WM_ENDSESSION:        OnEndSession(wParam, static_cast<LPARAM>(lParam & 0x80000000)); return 0;
    case WM_ENTERIDLE:         OnEnterIdle(wParam, lParam); return 0;
    case WM_ERASEBKGND:        OnEraseBkgnd(wParam); return 0;
    case WM_GETMINMAXINFO:     OnGetMinMaxInfo(lParam); return 0;
    case WM_ICONERASEBKGND:    OnIconEraseBkgnd(wParam); return 0;
    case WM_KILLFOCUS:         OnKillFocus(wParam); return 0;
    case WM_MENUCHAR:          return OnMenuChar(LOWORD(wParam), HIWORD(wParam), lParam);
    case WM_MENUSELECT:        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), lParam); return 0;
    case WM_MOVE:              OnMove(LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MOVING:            OnMoving(lParam); return 0;
    case WM_PAINT:             OnPaint(); return 0;
    case WM_NOTIFY:            return OnNotify(wParam, lParam);
    case WM_PARENTNOTIFY:      OnParentNotify(LOWORD(wParam), lParam); return 0;
    case WM_QUERYDRAGICON:     return OnQueryDragIcon();
    case WM_QUERYENDSESSION:   return OnQueryEndSession();
    case WM_QUERYNEWPALETTE:   return OnQueryNewPalette();
    case WM_QUERYOPEN:         return OnQueryOpen();
    case WM_SETFOCUS:          OnSetFocus(wParam); return 0;
    case WM_SHOWWINDOW:        OnShowWindow(wParam, lParam); return 0;
    case WM_SIZE:              OnSize(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SIZING:            OnSizing(wParam, lParam); return 0;
    case WM_STYLECHANGED:      OnStyleChanged(wParam, lParam); return 0;
    case WM_STYLECHANGING:     OnStyleChanging(wParam, lParam); return 0;
    case WM_CHARTOITEM:        return OnCharToItem(LOWORD(wParam), HIWORD(wParam), lParam);
    case WM_COMPAREITEM:       return OnCompareItem(wParam, lParam);
    case WM_DELETEITEM:        OnDeleteItem(wParam, lParam); return 0;
    case WM_DRAWITEM:          OnDrawItem(wParam, lParam); return 0;
    case WM_GETDLGCODE:        return OnGetDlgCode();
    case WM_MEASUREITEM:       OnMeasureItem(wParam, lParam); return 0;
    case WM_VKEYTOITEM:        return OnVKeyToItem(LOWORD(wParam), HIWORD(wParam), lParam);
    case WM_CAPTURECHANGED:    OnCaptureChanged(lParam); return 0;
    case WM_CHAR:              OnChar(wParam, LOWORD(lParam), lParam); return 0;
    case WM_DEADCHAR:          OnDeadChar(wParam, LOWORD(lParam), lParam); return 0;
    case WM_HSCROLL:           OnHScroll(LOWORD(wParam), HIWORD(wParam), lParam); return 0;
    case WM_KEYDOWN:           OnKeyDown(wParam, LOWORD(lParam), lParam); return 0;
    case WM_KEYUP:             OnKeyUp(wParam, LOWORD(lParam), lParam); return 0;
    case WM_LBUTTONDBLCLK:     OnLButtonDblClk(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_LBUTTONDOWN:       OnLButtonDown(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_LBUTTONUP:         OnLButtonUp(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MBUTTONDBLCLK:     OnMButtonDblClk(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MBUTTONDOWN:       OnMButtonDown(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MBUTTONUP:         OnMButtonUp(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MOUSEACTIVATE:     return OnMouseActivate(wParam, LOWORD(lParam), HIWORD(lParam));
    case WM_MOUSEMOVE:         OnMouseMove(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MOUSEWHEEL:        OnMouseWheel(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_RBUTTONDBLCLK:     OnRButtonDblClk(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_RBUTTONDOWN:       OnRButtonDown(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_RBUTTONUP:         OnRButtonUp(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_SETCURSOR:         return OnSetCursor(wParam, LOWORD(lParam), HIWORD(lParam));
    case WM_TIMER:             OnTimer(wParam); return 0;
    case WM_VSCROLL:           OnVScroll(LOWORD(wParam), HIWORD(wParam), lParam); return 0;
    case WM_NCACTIVATE:        return OnNcActivate(wParam);
    case WM_NCCALCSIZE:        OnNcCalcSize(wParam, lParam); return 0;
    case WM_NCCREATE:          return OnNcCreate(lParam);
    case WM_NCHITTEST:         return OnNcHitTest(LOWORD(lParam), HIWORD(lParam));
    case WM_NCLBUTTONDBLCLK:   OnNcLButtonDblClk(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCLBUTTONDOWN:     OnNcLButtonDown(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCLBUTTONUP:       OnNcLButtonUp(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCMBUTTONDBLCLK:   OnNcMButtonDblClk(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCMBUTTONDOWN:     OnNcMButtonDown(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCMBUTTONUP:       OnNcMButtonUp(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCMOUSEMOVE:       OnNcMouseMove(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCPAINT:           OnNcPaint(); return 0;
    case WM_NCRBUTTONDBLCLK:   OnNcRButtonDblClk(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCRBUTTONDOWN:     OnNcRButtonDown(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_NCRBUTTONUP:       OnNcRButtonUp(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_MDIACTIVATE:       OnMdiActivate(wParam); return 0;
    case WM_ASKCBFORMATNAME:   OnAskCbFormatName(wParam, lParam); return 0;
    case WM_CHANGECBCHAIN:     OnChangeCbChain(wParam, lParam); return 0;
    case WM_DESTROYCLIPBOARD:  OnDestroyClipboard(); return 0;
    case WM_DRAWCLIPBOARD:     OnDrawClipboard(); return 0;
    case WM_HSCROLLCLIPBOARD:  OnHScrollClipboard(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    case WM_PAINTCLIPBOARD:    OnPaintClipboard(wParam, lParam); return 0;
    case WM_RENDERALLFORMATS:  OnRenderAllFormats(); return 0;
    case WM_RENDERFORMAT:      OnRenderFormat(wParam); return 0;
    case WM_SIZECLIPBOARD:     OnSizeClipboard(wParam, lParam); return 0;
    case WM_VSCROLLCLIPBOARD:  OnVScrollClipboard(wParam, LOWORD(lParam), HIWORD(lParam)); return 0;
    default:                   return OnMessage();   // WM_CREATE and WM_INITDIALOG among them
    }
}
