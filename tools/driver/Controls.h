#pragma once
// Reading and operating the controls of another process's windows.
//
// Operations are posted, never sent: a button may start a long action or a modal message box,
// and a test must not hang on it. Wait for the effect instead (WaitForText, WaitForMessageBox).

#include "foundation/Win32.h"
#include "tools/driver/Clock.h"

#include <string>
#include <vector>

namespace e2e {

// The text of a window or control of any process (WM_GETTEXT, which the system carries across
// processes). Throws when the window is gone or its program does not answer within
// `timeoutMs`.
std::string ReadText(HWND window, unsigned timeoutMs = kDefaultTimeoutMs);

// Waits until the text equals `expected`; returns it. Throws with the last text seen.
std::string WaitForText(HWND window, const std::string& expected, unsigned timeoutMs = kDefaultTimeoutMs);

// Waits until the text differs from `previous`; returns the new text.
std::string WaitForTextChange(HWND window, const std::string& previous, unsigned timeoutMs = kDefaultTimeoutMs);

// A click as the button itself makes it (BM_CLICK): pressed, released, BN_CLICKED to the parent.
void ClickButton(HWND button);

// The command a click of control `id` sends to `dialog` (WM_COMMAND with BN_CLICKED).
void SendCommand(HWND dialog, int id);

// WM_CLOSE with the given lParam.
void PostClose(HWND window, LPARAM lParam = 0);

// WM_CLOSE with the given lParam to each window in turn, as a polite taskkill closes a process's
// top-level windows. A window gone by its turn (the program may end at the first WM_CLOSE) is
// skipped, as taskkill skips it; a refused post to a window that is still there throws.
void PostCloseToEach(const std::vector<HWND>& windows, LPARAM lParam = 0);

}  // namespace e2e
