#include "app/DialogArtwork.h"

#include "app/res/ResourceIds.h"
#include "foundation/DynLibrary.h"
#include "foundation/StructException.h"

#include <cstdlib>

namespace {

const CArtworkSet kSets[] = {
    {96, IDB_BANNER, IDB_CHANGE, IDB_CLOSE, 16, 32},
    {144, IDB_BANNER_150, IDB_CHANGE_150, IDB_CLOSE_150, 24, 48},
    {192, IDB_BANNER_200, IDB_CHANGE_200, IDB_CLOSE_200, 32, 64},
};

}  // namespace

const CArtworkSet& NearestArtwork(UINT dpi)
{
    const CArtworkSet* nearest = &kSets[0];
    for (const CArtworkSet& set : kSets)
        if (std::abs(static_cast<int>(dpi) - static_cast<int>(set.dpi)) <=
            std::abs(static_cast<int>(dpi) - static_cast<int>(nearest->dpi)))
            nearest = &set;
    return *nearest;
}

UINT WindowDpi(HWND window)
{
    try {
        using GetDpiForWindowFunction = UINT(WINAPI*)(HWND window);
        if (const UINT dpi = GetResidentFunction<GetDpiForWindowFunction>("USER32.DLL", "GetDpiForWindow")(window))
            return dpi;
    } catch (CStructException&) {
        // An older system: one DPI for every window.
    }
    const HDC screen = GetDC(window);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(window, screen);
    return static_cast<UINT>(dpi);
}

void FitButtonToImage(HWND button)
{
    BITMAP image{};
    const auto face = reinterpret_cast<HBITMAP>(SendMessageA(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    if (!face || !GetObjectA(face, sizeof image, &image))
        return;
    RECT outer{}, inner{};
    GetWindowRect(button, &outer);
    GetClientRect(button, &inner);
    // The edges around the client area stay as they are.
    const int width = image.bmWidth + (outer.right - outer.left) - inner.right;
    const int height = image.bmHeight + (outer.bottom - outer.top) - inner.bottom;
    MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&outer), 2);
    SetWindowPos(button, nullptr, (outer.left + outer.right - width) / 2, (outer.top + outer.bottom - height) / 2,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
