#pragma once
// The dialog's images for the scale it is shown at: sets drawn for 96, 144 and 192 DPI (100, 150
// and 200 %), the one nearest a window's DPI, and button sizes that fit their faces.

#include "foundation/Win32.h"

struct CArtworkSet {
    UINT dpi;          // what the set is drawn for
    int banner;        // bitmap resources
    int changeFace;
    int closeFace;
    int smallIcon;     // icon sizes in pixels, taken from icon group IDI_VORTAG
    int bigIcon;
};

// The set drawn for the DPI nearest `dpi`; halfway between two, the larger.
const CArtworkSet& NearestArtwork(UINT dpi);

// The DPI `window` is shown at: its own where the system scales per monitor (Windows 10 1607 and
// later), else the system's, which older systems give every window.
UINT WindowDpi(HWND window);

// Sizes `button` so that its image fills its client area, about the centre it had: a face drawn
// for the dialog's scale then fills its button whatever the font's metrics make of the template.
void FitButtonToImage(HWND button);
