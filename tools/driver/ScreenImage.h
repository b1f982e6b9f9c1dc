#pragma once
// Screenshots of windows, as 24-bit BMP files.
//
// Under Xvfb there is no window manager, so a window has no drawn frame beyond its own; the
// shot is the screen area the window covers, including whatever lies on top of it. For a PNG,
// convert the file on the Linux side: `convert shot.bmp shot.png` (ImageMagick).

#include "foundation/Win32.h"

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

class ScreenImage {
public:
    // The screen area of `window` (GetWindowRect) as it is shown now.
    static ScreenImage CaptureWindow(HWND window);
    // A 24-bit uncompressed BMP file such as SaveBmp writes.
    static ScreenImage LoadBmp(const std::string& path);

    void SaveBmp(const std::string& path) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The colour at (x, y), from the top-left corner.
    COLORREF Pixel(int x, int y) const;

private:
    ScreenImage(int width, int height);
    size_t Stride() const;   // bytes per row: three a pixel, padded to four

    int m_width = 0;
    int m_height = 0;
    std::vector<uint8_t> m_rows;   // bottom-up rows of blue, green, red, as BMP files hold them
};

}  // namespace e2e
