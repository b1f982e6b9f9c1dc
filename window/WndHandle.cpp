#include "window/WndHandle.h"

#include "foundation/CarriedException.h"
#include "foundation/Str.h"
#include "window/WndMap.h"

// The system calls below may run our own window procedures (WM_SETTEXT, WM_SHOWWINDOW,
// WM_PAINT, WM_DESTROY ...); what a handler threw there comes out once the call is back.

namespace {

// Formats the text and hands it to `set`, when there is a window and a format at all.
template <typename TSet>
BOOL SetFormattedText(HWND window, const char* format, va_list args, TSet&& set)
{
    if (!IsWindow(window) || !format)
        return 0;
    CStr text;
    text.FormatV(format, args);
    return set(text.data);
}

}  // namespace

CWndHandle::CWndHandle() : instance(GetModuleHandleA(nullptr)) {}

CWndHandle::~CWndHandle()
{
    handle = nullptr;
}

void CWndHandle::Clear()
{
    handle = nullptr;
    instance = GetModuleHandleA(nullptr);
}

BOOL CWndHandle::Destroy()
{
    if (!IsWindow(handle)) {
        Clear();
        return 1;
    }
    if (IsWindow(handle) && DestroyWindow(handle)) {
        // WM_NCDESTROY has removed the map entry by now.
        Clear();
        RethrowCarriedException();
        return 1;
    }
    RethrowCarriedException();
    return 0;
}

BOOL CWndHandle::Update()
{
    const BOOL updated = IsWindow(handle) && UpdateWindow(handle);
    RethrowCarriedException();
    return updated ? 1 : 0;
}

BOOL CWndHandle::Show(int showCommand)
{
    const BOOL shown = IsWindow(handle) && ShowWindow(handle, showCommand);
    RethrowCarriedException();
    return shown ? 1 : 0;
}

HWND CWndHandle::GetItem(int id) const
{
    return IsWindow(handle) ? GetDlgItem(handle, id) : nullptr;
}

LRESULT CWndHandle::SetIcon(HICON icon, WPARAM kind)
{
    if (!IsWindow(handle))
        return 0;
    const LRESULT previous = SendMessageA(handle, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
    RethrowCarriedException();
    return previous;
}

void CWndHandle::SetButtonBitmap(int controlId, int bitmapId)
{
    // The bitmap lives as long as the process; the button does not own it either.
    const HBITMAP bitmap = LoadBitmapA(instance, MAKEINTRESOURCEA(static_cast<WORD>(bitmapId)));
    SendMessageA(GetItem(controlId), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    RethrowCarriedException();
}

BOOL CWndHandle::SetWindowTextFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const BOOL set = SetFormattedText(handle, format, args,
                                      [&](const char* text) { return SetWindowTextA(handle, text); });
    va_end(args);
    RethrowCarriedException();
    return set;
}

BOOL CWndHandle::SetDlgItemTextFormat(int controlId, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const BOOL set = SetFormattedText(handle, format, args, [&](const char* text) {
        return SetDlgItemTextA(handle, controlId, text);
    });
    va_end(args);
    RethrowCarriedException();
    return set;
}

DWORD CWndHandle::ConcludeCreation(HWND created)
{
    // A window that refuses its creation (OnCreate answering -1, WM_NCCREATE answering 0)
    // may leave no error code behind; the caller must still learn that it failed.
    const DWORD lastError = GetLastError();
    const DWORD error = created ? 0 : lastError != 0 ? lastError : ERROR_CANCELLED;
    if (created && HasCarriedException())
        DestroyWindow(created);
    if (!created || HasCarriedException()) {
        // The first message may have bound a window that is gone again.
        g_wndMap.RemoveObject(this);
        handle = nullptr;
    }
    RethrowCarriedException();
    return error;
}
