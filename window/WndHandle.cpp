#include "window/WndHandle.h"

#include "foundation/CarriedException.h"
#include "foundation/Str.h"
#include "window/WndMap.h"


// The system calls below may run our own window procedures (WM_SETTEXT, WM_SHOWWINDOW,
// WM_PAINT, WM_DESTROY ...); what a handler threw during a call comes out of that call once it
// is back (CallCarrying).

namespace {

// The text for a window, when there is a window and a format at all.
bool FormatFor(HWND window, CStr& text, const char* format, va_list args)
{
    if (!IsWindow(window) || !format)
        return false;
    text.FormatV(format, args);
    return true;
}

}  // namespace

CWndHandle::CWndHandle() : instance(GetModuleHandleA(nullptr)) {}

CWndHandle::~CWndHandle()
{
    // The derived classes destroy their windows; one that outlived that (a window of another
    // thread, a failed DestroyWindow) must at least no longer lead here.
    g_wndMap.RemoveObject(this);
    handle = nullptr;
}

void CWndHandle::Clear()
{
    handle = nullptr;
    instance = GetModuleHandleA(nullptr);
}

BOOL CWndHandle::DestroyWindowNow()
{
    if (IsWindow(handle) && !DestroyWindow(handle))
        return 0;
    // WM_NCDESTROY has removed the map entry by now.
    Clear();
    return 1;
}

BOOL CWndHandle::Destroy()
{
    return CallCarrying([this] { return DestroyWindowNow(); });
}

void CWndHandle::DestroyWithObject()
{
    const CCarryScope teardown;   // reports what it holds when it goes
    DestroyWindowNow();
}

BOOL CWndHandle::Update()
{
    return CallCarrying([this] { return IsWindow(handle) && UpdateWindow(handle); }) ? 1 : 0;
}

BOOL CWndHandle::Show(int showCommand)
{
    return CallCarrying([&] { return IsWindow(handle) && ShowWindow(handle, showCommand); }) ? 1 : 0;
}

HWND CWndHandle::GetItem(int id) const
{
    return IsWindow(handle) ? GetDlgItem(handle, id) : nullptr;
}

LRESULT CWndHandle::SetIcon(HICON icon, WPARAM kind)
{
    if (!IsWindow(handle))
        return 0;
    return CallCarrying([&] { return SendMessageA(handle, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon)); });
}

void CWndHandle::SetButtonBitmap(int controlId, int bitmapId)
{
    SetControlBitmap(controlId, bitmapId, BM_SETIMAGE);
}

void CWndHandle::SetStaticBitmap(int controlId, int bitmapId)
{
    SetControlBitmap(controlId, bitmapId, STM_SETIMAGE);
}

void CWndHandle::SetControlBitmap(int controlId, int bitmapId, UINT setImage)
{
    const HBITMAP face = LoadBitmapA(instance, MAKEINTRESOURCEA(static_cast<WORD>(bitmapId)));
    if (face)
        m_controlBitmaps.Keep(face);
    const LRESULT previous = CallCarrying([&] {
        return SendMessageA(GetItem(controlId), setImage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(face));
    });
    m_controlBitmaps.Free(reinterpret_cast<HBITMAP>(previous));
}

CWndHandle::CControlBitmaps::~CControlBitmaps()
{
    for (uint32_t i = 0; i < m_faces.GetCount(); ++i)
        DeleteObject(*m_faces.GetAt(i));
}

void CWndHandle::CControlBitmaps::Keep(HBITMAP face)
{
    m_faces.Append(face);
}

void CWndHandle::CControlBitmaps::Free(HBITMAP face)
{
    for (uint32_t i = 0; face && i < m_faces.GetCount(); ++i) {
        if (*m_faces.GetAt(i) == face) {
            DeleteObject(face);
            m_faces.RemoveAt(i);
            return;
        }
    }
}

BOOL CWndHandle::SetWindowTextFormat(const char* format, ...)
{
    CStr text;
    va_list args;
    va_start(args, format);
    const bool formatted = FormatFor(handle, text, format, args);
    va_end(args);
    return formatted ? CallCarrying([&] { return SetWindowTextA(handle, text.data); }) : 0;
}

BOOL CWndHandle::SetDlgItemTextFormat(int controlId, const char* format, ...)
{
    CStr text;
    va_list args;
    va_start(args, format);
    const bool formatted = FormatFor(handle, text, format, args);
    va_end(args);
    return formatted ? CallCarrying([&] { return SetDlgItemTextA(handle, controlId, text.data); }) : 0;
}

DWORD CWndHandle::ConcludeCreation(HWND created, CCarryScope& creation)
{
    // A window that refuses its creation (OnCreate answering -1, WM_NCCREATE answering 0)
    // may leave no error code behind; the caller must still learn that it failed.
    const DWORD lastError = GetLastError();
    const DWORD error = created ? 0 : lastError != 0 ? lastError : ERROR_CANCELLED;
    if (created && creation.HasException()) {
        const CCarryScope teardown;   // the creation's exception goes first; what this adds is reported on its own
        DestroyWindow(created);
    }
    if (!created || creation.HasException()) {
        // The first message may have bound a window that is gone again.
        g_wndMap.RemoveObject(this);
        handle = nullptr;
    }
    creation.Rethrow();
    return error;
}
