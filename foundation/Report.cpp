#include "foundation/Report.h"

namespace {
MessageBoxRoute g_messageBoxRoute = nullptr;
TraceRoute g_traceRoute = nullptr;
}

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

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (g_messageBoxRoute)
        return g_messageBoxRoute(owner, text, caption, type);
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
