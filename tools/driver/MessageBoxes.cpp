#include "tools/driver/MessageBoxes.h"

#include "tools/driver/Controls.h"
#include "tools/driver/DriverError.h"
#include "tools/driver/TopWindows.h"

namespace e2e {

namespace {

constexpr int kTextId = 0xFFFF;

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

bool IsStandardButton(HWND control)
{
    const int id = GetDlgCtrlID(control);
    return ClassOf(control) == "Button" && id >= IDOK && id <= IDCONTINUE;
}

// The message's control: a static that shows text (not a picture).
bool IsTextControl(HWND control)
{
    const LONG type = GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK;
    return ClassOf(control) == "Static" && type != SS_ICON && type != SS_BITMAP && type != SS_ENHMETAFILE;
}

// The button that dismisses the box the way a user would: OK, else Cancel, else the first.
HWND DismissButton(HWND box)
{
    for (int id : {IDOK, IDCANCEL})
        if (HWND button = GetDlgItem(box, id))
            return button;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsStandardButton(child))
            return child;
    return nullptr;
}

}  // namespace

bool IsMessageBox(HWND window)
{
    if (ClassOf(window) != "#32770")
        return false;
    HWND text = GetDlgItem(window, kTextId);
    if (!text || !IsTextControl(text))
        return false;
    bool hasButton = false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsStandardButton(child))
            hasButton = true;
        else if (ClassOf(child) != "Static")
            return false;
    }
    return hasButton;
}

std::vector<MessageBoxText> MessageBoxesOf(DWORD processId)
{
    std::vector<MessageBoxText> boxes;
    for (HWND window : TopWindowsOf(processId)) {
        if (!IsMessageBox(window))
            continue;
        char caption[512] = "";
        GetWindowTextA(window, caption, sizeof caption);
        boxes.push_back({window, caption, ReadText(GetDlgItem(window, kTextId))});
    }
    return boxes;
}

MessageBoxText WaitForMessageBox(const Process& process, unsigned timeoutMs)
{
    std::vector<MessageBoxText> boxes;
    if (!PollUntil(timeoutMs, [&] {
            boxes = MessageBoxesOf(process.Id());
            return !boxes.empty() || !process.IsRunning();
        }) ||
        boxes.empty())
        Fail("%s (process %lu) showed no message box %s", process.Name().c_str(), process.Id(),
             process.IsRunning() ? Format("within %u ms", timeoutMs).c_str() : "before it ended");
    return boxes.front();
}

void CloseMessageBox(const MessageBoxText& box, unsigned timeoutMs)
{
    HWND button = DismissButton(box.window);
    if (!button)
        Fail("message box \"%s\" has no button to close it with", box.text.c_str());
    SendCommand(box.window, GetDlgCtrlID(button));
    if (!PollUntil(timeoutMs, [&] { return !IsWindow(box.window); }))
        Fail("message box \"%s\" was still open %u ms after its button was pressed", box.text.c_str(), timeoutMs);
}

std::vector<MessageBoxText> CloseMessageBoxes(const Process& process, unsigned timeoutMs)
{
    const std::vector<MessageBoxText> boxes = MessageBoxesOf(process.Id());
    for (const MessageBoxText& box : boxes)
        CloseMessageBox(box, timeoutMs);
    return boxes;
}

}  // namespace e2e
