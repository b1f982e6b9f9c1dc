#pragma once
// Where error boxes and trace lines go.
//
// By default a box is a real MessageBoxA and a trace line goes to OutputDebugStringA.
// Tests (and anything else that must not block on a box nobody closes) install a route of
// their own; passing nullptr restores the default. Routes are process-wide.

#include "foundation/Str.h"

using MessageBoxRoute = int (*)(HWND owner, const char* text, const char* caption, UINT type);
using TraceRoute = void (*)(const char* text);

MessageBoxRoute SetMessageBoxRoute(MessageBoxRoute route);   // returns the previous route
TraceRoute SetTraceRoute(TraceRoute route);                   // returns the previous route

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Sends the line followed by "\n" to the debugger output.
void TraceLine(const CStr& line);
void TraceFormat(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
