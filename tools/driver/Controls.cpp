#include "tools/driver/Controls.h"

#include "tools/driver/DriverError.h"
#include "tools/driver/TopWindows.h"

#include <vector>

namespace e2e {

namespace {

void FailToPost(HWND window, UINT message)
{
    FailWithLastError(Format("posting message 0x%04X to %s", message, DescribeWindow(window).c_str()));
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!PostMessageA(window, message, wParam, lParam))
        FailToPost(window, message);
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, unsigned timeoutMs)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result))
        Fail("%s did not answer message 0x%04X within %u ms", DescribeWindow(window).c_str(), message, timeoutMs);
    return static_cast<LRESULT>(result);
}

// Waits until `accept` takes the window's text; returns the text or throws with `wanted`.
std::string WaitForTextThat(HWND window, unsigned timeoutMs, const std::string& wanted,
                            bool (*accept)(const std::string& text, const std::string& reference),
                            const std::string& reference)
{
    std::string text;
    if (PollUntil(timeoutMs, [&] {
            text = ReadText(window, timeoutMs);
            return accept(text, reference);
        }))
        return text;
    Fail("the text of %s did not become %s within %u ms; it is \"%s\"", DescribeWindow(window).c_str(),
         wanted.c_str(), timeoutMs, text.c_str());
}

}  // namespace

std::string ReadText(HWND window, unsigned timeoutMs)
{
    if (!IsWindow(window))
        Fail("window %p is gone; it has no text", static_cast<void*>(window));
    const LRESULT length = SendBounded(window, WM_GETTEXTLENGTH, 0, 0, timeoutMs);
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendBounded(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), timeoutMs);
    return std::string(text.data(), static_cast<size_t>(copied));
}

std::string WaitForText(HWND window, const std::string& expected, unsigned timeoutMs)
{
    return WaitForTextThat(
        window, timeoutMs, "\"" + expected + "\"",
        [](const std::string& text, const std::string& reference) { return text == reference; }, expected);
}

std::string WaitForTextChange(HWND window, const std::string& previous, unsigned timeoutMs)
{
    return WaitForTextThat(
        window, timeoutMs, "other than \"" + previous + "\"",
        [](const std::string& text, const std::string& reference) { return text != reference; }, previous);
}

void ClickButton(HWND button)
{
    Post(button, BM_CLICK, 0, 0);
}

void SendCommand(HWND dialog, int id)
{
    Post(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PostClose(HWND window, LPARAM lParam)
{
    Post(window, WM_CLOSE, 0, lParam);
}

void PostCloseToEach(const std::vector<HWND>& windows, LPARAM lParam)
{
    for (const HWND window : windows) {
        if (PostMessageA(window, WM_CLOSE, 0, lParam))
            continue;
        const DWORD error = GetLastError();   // IsWindow may change it
        if (IsWindow(window)) {
            SetLastError(error);
            FailToPost(window, WM_CLOSE);
        }
    }
}

}  // namespace e2e
