#include "window/MsgHandler.h"

LRESULT CMsgHandler::OnMessage() { return DefaultProc(); }
LRESULT CMsgHandler::OnOtherMessage() { return DefaultProc(); }
LRESULT CMsgHandler::OnUserMessage() { return DefaultProc(); }
LRESULT CMsgHandler::OnAppMessage() { return DefaultProc(); }

LRESULT CMsgHandler::DefaultProc()
{
    const MSG& m = currentMessage;
    return DefWindowProcA(m.hwnd, m.message, m.wParam, m.lParam);
}

// ---- Defaults of the per-message operations, in table order ------------------------------

LRESULT CMsgHandler::OnCompacting(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnDevModeChange(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnDropFiles(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnFontChange() { return DefaultProc(); }
LRESULT CMsgHandler::OnPaletteChanged(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnPaletteIsChanging(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSpoolerStatus(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSysChar(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSysColorChange() { return DefaultProc(); }
LRESULT CMsgHandler::OnSysCommand(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSysDeadChar(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSysKeyDown(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSysKeyUp(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnTimeChange() { return DefaultProc(); }
LRESULT CMsgHandler::OnWindowPosChanged(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnWindowPosChanging(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnWinIniChange(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnActivate(UINT, LPARAM, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnActivateApp(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnCancelMode() { return DefaultProc(); }
LRESULT CMsgHandler::OnChildActivate() { return DefaultProc(); }
LRESULT CMsgHandler::OnClose() { return DefaultProc(); }
LRESULT CMsgHandler::OnCommand(int, int, HWND) { return DefaultProc(); }
LRESULT CMsgHandler::OnCopyData(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnCtlColor(HDC, HWND, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcDestroy() { return DefaultProc(); }
LRESULT CMsgHandler::OnDestroy() { return DefaultProc(); }
LRESULT CMsgHandler::OnDeviceChange(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnEnable(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnEndSession(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnEnterIdle(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnEraseBkgnd(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnGetMinMaxInfo(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnIconEraseBkgnd(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnKillFocus(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnMenuChar(UINT, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnMenuSelect(UINT, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnMove(UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMoving(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnPaint() { return DefaultProc(); }
LRESULT CMsgHandler::OnNotify(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnParentNotify(UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnQueryDragIcon() { return DefaultProc(); }
LRESULT CMsgHandler::OnQueryEndSession() { return DefaultProc(); }
LRESULT CMsgHandler::OnQueryNewPalette() { return DefaultProc(); }
LRESULT CMsgHandler::OnQueryOpen() { return DefaultProc(); }
LRESULT CMsgHandler::OnSetFocus(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnShowWindow(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSize(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnSizing(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnStyleChanged(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnStyleChanging(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnCharToItem(UINT, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnCompareItem(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnDeleteItem(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnDrawItem(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnGetDlgCode() { return DefaultProc(); }
LRESULT CMsgHandler::OnMeasureItem(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnVKeyToItem(UINT, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnCaptureChanged(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnChar(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnDeadChar(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnHScroll(UINT, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnKeyDown(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnKeyUp(WPARAM, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnLButtonDblClk(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnLButtonDown(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnLButtonUp(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMButtonDblClk(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMButtonDown(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMButtonUp(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMouseActivate(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMouseMove(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMouseWheel(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnRButtonDblClk(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnRButtonDown(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnRButtonUp(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnSetCursor(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnTimer(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnVScroll(UINT, UINT, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcActivate(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcCalcSize(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcCreate(LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcHitTest(UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcLButtonDblClk(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcLButtonDown(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcLButtonUp(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcMButtonDblClk(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcMButtonDown(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcMButtonUp(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcMouseMove(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcPaint() { return DefaultProc(); }
LRESULT CMsgHandler::OnNcRButtonDblClk(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcRButtonDown(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnNcRButtonUp(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnMdiActivate(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnAskCbFormatName(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnChangeCbChain(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnDestroyClipboard() { return DefaultProc(); }
LRESULT CMsgHandler::OnDrawClipboard() { return DefaultProc(); }
LRESULT CMsgHandler::OnHScrollClipboard(WPARAM, UINT, UINT) { return DefaultProc(); }
LRESULT CMsgHandler::OnPaintClipboard(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnRenderAllFormats() { return DefaultProc(); }
LRESULT CMsgHandler::OnRenderFormat(WPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnSizeClipboard(WPARAM, LPARAM) { return DefaultProc(); }
LRESULT CMsgHandler::OnVScrollClipboard(WPARAM, UINT, UINT) { return DefaultProc(); }
