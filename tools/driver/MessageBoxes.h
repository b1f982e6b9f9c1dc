#pragma once
// Message boxes of another process: found, read and closed, so that no test waits on a box
// that nobody closes.
//
// A message box is a dialog of class "#32770" whose message is the text control 0xFFFF and
// whose only other controls are its icon and buttons with the standard ids (IDOK to
// IDCONTINUE). The second part tells it from a program's own dialogs of that class, which may
// well have a control -1 too (a picture, say).

#include "foundation/Win32.h"
#include "tools/driver/Clock.h"
#include "tools/driver/Process.h"

#include <string>
#include <vector>

namespace e2e {

struct MessageBoxText {
    HWND window = nullptr;
    std::string caption;
    std::string text;
};

bool IsMessageBox(HWND window);

// The message boxes `processId` shows now.
std::vector<MessageBoxText> MessageBoxesOf(DWORD processId);

// The first message box of `process`, waited for up to `timeoutMs`; throws when none comes.
MessageBoxText WaitForMessageBox(const Process& process, unsigned timeoutMs = kDefaultTimeoutMs);

// Presses the box's OK button (else Cancel, else its first button) and waits until it is gone.
void CloseMessageBox(const MessageBoxText& box, unsigned timeoutMs = kDefaultTimeoutMs);

// Closes every message box `process` shows now; returns what they said, in the order found.
std::vector<MessageBoxText> CloseMessageBoxes(const Process& process, unsigned timeoutMs = kDefaultTimeoutMs);

}  // namespace e2e
