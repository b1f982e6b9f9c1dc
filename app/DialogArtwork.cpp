#include "app/DialogArtwork.h"

#include "app/res/ResourceIds.h"
#include "foundation/DynLibrary.h"
#include "foundation/StructException.h"

#include <iterator>

namespace {

const struct {
    UINT dpi;
    int banner, changeFace, closeFace;
} kDrawnSets[] = {
    {96, IDB_BANNER, IDB_CHANGE, IDB_CLOSE},
    {144, IDB_BANNER_150, IDB_CHANGE_150, IDB_CLOSE_150},
    {192, IDB_BANNER_200, IDB_CHANGE_200, IDB_CLOSE_200},
};

// The images' sizes at 100 %, as drawn.
const SIZE kBanner = {508, 61};
const SIZE kFace = {70, 26};
const SIZE kIcons = {16, 32};   // small, big

// `size` at 100 %, at `dpi`.
SIZE AtDpi(SIZE size, UINT dpi)
{
    return {MulDiv(size.cx, static_cast<int>(dpi), 96), MulDiv(size.cy, static_cast<int>(dpi), 96)};
}

}  // namespace

CArtwork ArtworkFor(UINT dpi)
{
    const auto* set = std::end(kDrawnSets) - 1;
    for (const auto& drawn : kDrawnSets)
        if (drawn.dpi >= dpi) {
            set = &drawn;
            break;
        }
    const SIZE icons = AtDpi(kIcons, dpi);
    return {set->banner, set->changeFace, set->closeFace, AtDpi(kBanner, dpi), AtDpi(kFace, dpi), icons.cx, icons.cy};
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

SIZE ShownBitmapSize(HWND control, UINT getImage)
{
    BITMAP image{};
    const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(control, getImage, IMAGE_BITMAP, 0));
    if (!shown || !GetObjectA(shown, sizeof image, &image))
        return {};
    return {image.bmWidth, image.bmHeight};
}

void FitButtonToImage(HWND button)
{
    const SIZE image = ShownBitmapSize(button, BM_GETIMAGE);
    if (!image.cx)
        return;
    RECT outer{}, inner{};
    GetWindowRect(button, &outer);
    GetClientRect(button, &inner);
    // The edges around the client area stay as they are.
    const int width = image.cx + (outer.right - outer.left) - inner.right;
    const int height = image.cy + (outer.bottom - outer.top) - inner.bottom;
    MapWindowPoints(nullptr, GetParent(button), reinterpret_cast<POINT*>(&outer), 2);
    SetWindowPos(button, nullptr, (outer.left + outer.right - width) / 2, (outer.top + outer.bottom - height) / 2,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
