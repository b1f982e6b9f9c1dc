#include "window/WndProcs.h"

#include "foundation/CarriedException.h"
#include "window/MsgHandler.h"
#include "window/WndHandle.h"
#include "window/WndMap.h"

namespace {

// Binds the new window to the newest entry that this thread registered and makes
// RoutingProc its procedure (in the slot `procedureSlot`). False when there is no entry:
// a window of a framework class can only be created through the framework.
bool BindFirstMessage(HWND hwnd, int procedureSlot)
{
    WndMapEntry* entry = g_wndMap.FindPending();
    if (!entry)
        return false;
    if (entry->object)
        entry->object->handle = hwnd;
    SetWindowLongPtrA(hwnd, procedureSlot, reinterpret_cast<LONG_PTR>(&RoutingProc));
    return true;
}

// The answer for a message whose handler threw. Creation must not go on with an object
// whose OnCreate did not finish.
LRESULT ResultOnException(UINT message)
{
    return message == WM_CREATE ? -1 : 0;
}

}  // namespace

LRESULT CALLBACK InitialWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GuardCallback(false, [&] { return BindFirstMessage(hwnd, GWLP_WNDPROC); }))
        return -1;
    return RoutingProc(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK InitialDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!GuardCallback(false, [&] { return BindFirstMessage(hwnd, DWLP_DLGPROC); }))
        return FALSE;
    return RoutingProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK RoutingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback(ResultOnException(message), [&]() -> LRESULT {
        const WndMapEntry* entry = g_wndMap.FindByHandle(hwnd);
        // Every framework class has both parts; the map holds the object by its first.
        CMsgHandler* handler = entry ? dynamic_cast<CMsgHandler*>(entry->object) : nullptr;
        return handler ? handler->Dispatch(hwnd, message, wParam, lParam) : 0;
    });
}
