#pragma once
// The dialog's images for the scale it is shown at. Sets are drawn for 96, 144 and 192 DPI (100,
// 150 and 200 %) and shown as drawn there. At any other DPI each image takes its 100 % size
// times DPI / 96, as the dialog's font and layout do, scaled smoothly from the smallest set drawn
// at least that large (shrinking blurs less than enlarging), above 192 DPI from the 200 % set.

#include "foundation/Win32.h"

struct CArtwork {
    int banner;        // bitmap resources: the set shown, or scaled from
    int changeFace;
    int closeFace;
    SIZE bannerSize;   // the sizes they are shown at
    SIZE faceSize;
    int smallIcon;     // icon sizes in pixels, taken from icon group IDI_VORTAG
    int bigIcon;
};

CArtwork ArtworkFor(UINT dpi);

// The DPI `window` is shown at: its own where the system scales per monitor (Windows 10 1607 and
// later), else the system's, which older systems give every window.
UINT WindowDpi(HWND window);

// The size of the bitmap `control` shows (`getImage`: BM_GETIMAGE, STM_GETIMAGE); empty if none.
SIZE ShownBitmapSize(HWND control, UINT getImage);

// Sizes `button` so that its image fills its client area, about the centre it had: a face drawn
// for the dialog's scale then fills its button whatever the font's metrics make of the template.
void FitButtonToImage(HWND button);
