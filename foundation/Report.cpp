#include "foundation/Report.h"

namespace {

MessageBoxRoute g_messageBoxRoute = nullptr;
TraceRoute g_traceRoute = nullptr;
bool g_unattended = false;

// A box runs a message loop of its own, which a WM_QUIT waiting in the thread's queue ends at
// once: a window that posted its quit just before a failure was reported would close the report
// before anyone could read it. The quit is held back while the box shows and posted again after.
class CQuitHeldBack {
public:
    CQuitHeldBack() { m_held = PeekMessageA(&m_quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0; }
    ~CQuitHeldBack()
    {
        if (m_held)
            PostQuitMessage(static_cast<int>(m_quit.wParam));
    }
    CQuitHeldBack(const CQuitHeldBack&) = delete;
    CQuitHeldBack& operator=(const CQuitHeldBack&) = delete;

private:
    MSG m_quit{};
    bool m_held = false;
};

}  // namespace

MessageBoxRoute SetMessageBoxRoute(MessageBoxRoute route)
{
    const MessageBoxRoute previous = g_messageBoxRoute;
    g_messageBoxRoute = route;
    return previous;
}

TraceRoute SetTraceRoute(TraceRoute route)
{
    const TraceRoute previous = g_traceRoute;
    g_traceRoute = route;
    return previous;
}

bool SetUnattended(bool unattended)
{
    const bool previous = g_unattended;
    g_unattended = unattended;
    return previous;
}

bool IsUnattended()
{
    return g_unattended;
}

UINT AddErrorMode(UINT flags)
{
    const UINT before = GetErrorMode();
    SetErrorMode(before | flags);
    return before;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (g_unattended) {
        TraceFormat("%s: %s", caption, text);
        return IDOK;
    }
    if (g_messageBoxRoute)
        return g_messageBoxRoute(owner, text, caption, type);
    const CQuitHeldBack heldBack;
    return MessageBoxA(owner, text, caption, type);
}

void TraceLine(const CStr& line)
{
    const CStr text = line.Concat("\n");
    if (g_traceRoute)
        g_traceRoute(text.data);
    else
        OutputDebugStringA(text.data);
}

void TraceFormat(const char* format, ...)
{
    CStr line;
    va_list args;
    va_start(args, format);
    line.FormatV(format, args);
    va_end(args);
    TraceLine(line);
}
