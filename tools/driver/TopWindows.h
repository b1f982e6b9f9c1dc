#pragma once
// Finding the top-level windows of a started program, and the first one it shows.

#include "foundation/Win32.h"
#include "tools/driver/Clock.h"
#include "tools/driver/Process.h"

#include <string>
#include <vector>

namespace e2e {

std::vector<HWND> TopWindowsOf(DWORD processId);

// Class, title and visibility of a window, for failure messages.
std::string DescribeWindow(HWND window);

// The first visible top-level window of `process` with this title and class (an empty text
// matches any), waited for up to `timeoutMs`. Visible is what a user sees, and it is also when
// a dialog is complete: its window exists, still hidden, before its controls do. Throws,
// naming the windows the process does have, when none comes in time or the process ends first.
HWND FindTopWindow(const Process& process, const std::string& title, const std::string& className = "",
                   unsigned timeoutMs = kDefaultTimeoutMs);

// The same for hidden windows too, such as a program's hidden main window.
HWND FindAnyTopWindow(const Process& process, const std::string& title, const std::string& className = "",
                      unsigned timeoutMs = kDefaultTimeoutMs);

// Watches `process` for `periodMs` or until it ends, whichever comes first, and returns the
// first of its top-level windows seen visible, or nullptr when none was visible at any poll:
// the window to go on with when a program may show one of several. It proves no absence: a
// window shown and hidden again between two polls slips through (ShowRecorder sees it).
HWND FirstVisibleWindow(const Process& process, unsigned periodMs);

// The child of `dialog` with this id; throws when there is none.
HWND Control(HWND dialog, int id);

}  // namespace e2e
