#pragma once
// Real keyboard input for another process's dialog.
//
// The keys go in through SendInput, the way a user's keys come, so they reach the program's
// message loop as WM_KEYDOWN/WM_KEYUP of the focused control; whatever the loop does with them
// (IsDialogMessage or nothing) is what the test sees. Under Wine without a window manager
// SendInput delivers to the foreground window's thread, so the dialog is made the foreground
// window first (Wine lets any process do that).

#include "foundation/Win32.h"
#include "tools/driver/Clock.h"

namespace e2e {

// Brings `dialog` to the foreground, waits until one of its controls (or the dialog itself)
// has the keyboard focus, and types `virtualKey` (pressed and released), with `modifier`
// (VK_SHIFT, VK_MENU ...) held down around it when one is given. Returns the window that had
// the focus, which the key went to. Throws when the dialog cannot be brought to the
// foreground or gets no focus within `timeoutMs`. The effect arrives asynchronously: wait for
// it (WaitForText, for example).
HWND PressKey(HWND dialog, WORD virtualKey, WORD modifier = 0, unsigned timeoutMs = kDefaultTimeoutMs);

// Waits until `control` has the keyboard focus of its thread; throws naming the window that
// has it instead.
void WaitForFocus(HWND control, unsigned timeoutMs = kDefaultTimeoutMs);

}  // namespace e2e
