#include "window/WndHandle.h"

#include "foundation/CarriedException.h"
#include "foundation/Owned.h"
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

// `source` at `size` pixels, scaled with a smoothing filter; `source` itself when `size` is
// empty or the size it has, or when no scaled copy can be made. Takes `source` over.
HBITMAP ScaledBitmap(HBITMAP source, SIZE size)
{
    BITMAP image{};
    if (!source || size.cx <= 0 || size.cy <= 0 || !GetObjectA(source, sizeof image, &image) ||
        (image.bmWidth == size.cx && image.bmHeight == size.cy))
        return source;
    COwnedGdiObject<HBITMAP> original(source);
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    COwnedGdiObject<HBITMAP> scaled(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    // Declared after the bitmaps, the DCs go first and let go of them.
    const COwnedDc from(CreateCompatibleDC(nullptr)), to(CreateCompatibleDC(nullptr));
    if (!scaled || !SelectObject(from.Get(), source) || !SelectObject(to.Get(), scaled.Get()))
        return original.Release();
    // HALFTONE mixes the source pixels that each new pixel covers: no jagged edges or lost lines.
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    if (!StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, image.bmWidth, image.bmHeight, SRCCOPY))
        return original.Release();
    return scaled.Release();
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

void CWndHandle::SetButtonBitmap(int controlId, int bitmapId, SIZE size)
{
    SetControlBitmap(controlId, bitmapId, size, BM_SETIMAGE);
}

void CWndHandle::SetStaticBitmap(int controlId, int bitmapId, SIZE size)
{
    SetControlBitmap(controlId, bitmapId, size, STM_SETIMAGE);
}

void CWndHandle::SetControlBitmap(int controlId, int bitmapId, SIZE size, UINT setImage)
{
    const HBITMAP face = ScaledBitmap(LoadBitmapA(instance, MAKEINTRESOURCEA(static_cast<WORD>(bitmapId))), size);
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
