#include "tools/driver/ScreenImage.h"

#include "tools/driver/DriverError.h"
#include "tools/driver/TopWindows.h"

#include <cstring>

namespace e2e {

namespace {

BITMAPINFOHEADER Header(int width, int height, size_t imageSize)
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;   // positive: rows bottom-up
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(imageSize);
    return header;
}

// One copy of a screen area into a device-independent bitmap: owns the device contexts and
// the device bitmap it goes through.
class ScreenCopy {
public:
    ScreenCopy(int width, int height) : m_width(width), m_height(height)
    {
        m_screen = GetDC(nullptr);
        m_memory = CreateCompatibleDC(m_screen);
        m_bitmap = CreateCompatibleBitmap(m_screen, width, height);
        if (!m_screen || !m_memory || !m_bitmap)
            Fail("no device context or bitmap of %d x %d pixels for a screenshot", width, height);
    }
    ~ScreenCopy()
    {
        DeleteObject(m_bitmap);
        DeleteDC(m_memory);
        ReleaseDC(nullptr, m_screen);
    }
    ScreenCopy(const ScreenCopy&) = delete;
    ScreenCopy& operator=(const ScreenCopy&) = delete;

    // The area whose top-left corner is at (left, top) of the screen, as 24-bit bottom-up rows.
    void Take(int left, int top, BITMAPINFOHEADER& header, uint8_t* rows)
    {
        const HGDIOBJ previous = SelectObject(m_memory, m_bitmap);
        const BOOL copied = BitBlt(m_memory, 0, 0, m_width, m_height, m_screen, left, top, SRCCOPY | CAPTUREBLT);
        SelectObject(m_memory, previous);   // GetDIBits wants the bitmap selected nowhere
        if (!copied)
            FailWithLastError("BitBlt from the screen");
        if (GetDIBits(m_memory, m_bitmap, 0, m_height, rows, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) !=
            m_height)
            FailWithLastError("GetDIBits of a screenshot");
    }

private:
    int m_width;
    int m_height;
    HDC m_screen = nullptr;
    HDC m_memory = nullptr;
    HBITMAP m_bitmap = nullptr;
};

}  // namespace

ScreenImage::ScreenImage(int width, int height) : m_width(width), m_height(height), m_rows(Stride() * height) {}

size_t ScreenImage::Stride() const
{
    return (static_cast<size_t>(m_width) * 3 + 3) & ~size_t{3};
}

ScreenImage ScreenImage::CaptureWindow(HWND window)
{
    RECT area;
    if (!GetWindowRect(window, &area))
        FailWithLastError("GetWindowRect of " + DescribeWindow(window));
    ScreenImage image(area.right - area.left, area.bottom - area.top);
    if (image.m_width <= 0 || image.m_height <= 0)
        Fail("%s covers no screen area", DescribeWindow(window).c_str());
    // The window paints on its own thread; let it finish what is pending before the copy.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);

    BITMAPINFOHEADER header = Header(image.m_width, image.m_height, image.m_rows.size());
    ScreenCopy(image.m_width, image.m_height).Take(area.left, area.top, header, image.m_rows.data());
    return image;
}

COLORREF ScreenImage::Pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        Fail("pixel (%d, %d) lies outside the %d x %d image", x, y, m_width, m_height);
    const uint8_t* bgr = &m_rows[Stride() * (m_height - 1 - y) + static_cast<size_t>(x) * 3];
    return RGB(bgr[2], bgr[1], bgr[0]);
}

void ScreenImage::SaveBmp(const std::string& path) const
{
    const BITMAPINFOHEADER header = Header(m_width, m_height, m_rows.size());
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;   // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = static_cast<DWORD>(file.bfOffBits + m_rows.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(m_rows.data()), m_rows.size());

    HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        FailWithLastError("CreateFileA " + path);
    DWORD written = 0;
    const BOOL ok = WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(out);
    if (!ok || written != bytes.size())
        Fail("could not write all of %s", path.c_str());
}

ScreenImage ScreenImage::LoadBmp(const std::string& path)
{
    HANDLE in = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        FailWithLastError("CreateFileA " + path);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    DWORD read = 0;
    const bool headed = ReadFile(in, &file, sizeof file, &read, nullptr) && read == sizeof file &&
                        ReadFile(in, &header, sizeof header, &read, nullptr) && read == sizeof header;
    if (!headed || file.bfType != 0x4D42 || header.biBitCount != 24 || header.biCompression != BI_RGB ||
        header.biWidth <= 0 || header.biHeight <= 0) {
        CloseHandle(in);
        Fail("%s is no 24-bit bottom-up BMP file", path.c_str());
    }
    ScreenImage image(header.biWidth, header.biHeight);
    SetFilePointer(in, static_cast<LONG>(file.bfOffBits), nullptr, FILE_BEGIN);
    const bool complete = ReadFile(in, image.m_rows.data(), static_cast<DWORD>(image.m_rows.size()), &read, nullptr) &&
                          read == image.m_rows.size();
    CloseHandle(in);
    if (!complete)
        Fail("%s ends before its pixels do", path.c_str());
    return image;
}

}  // namespace e2e
