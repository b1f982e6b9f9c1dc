#pragma once
// Where error boxes and trace lines go.
//
// By default a box is a real MessageBoxA and a trace line goes to OutputDebugStringA.
// Tests (and anything else that must not block on a box nobody closes) install a route of
// their own; passing nullptr restores the default. Routes are process-wide.
//
// A process that runs unattended (nobody at the screen to close a box: a service, a deployment
// tool, a script waiting for the exit code) shows no box at all: each becomes a trace line.

#include "foundation/Str.h"

using MessageBoxRoute = int (*)(HWND owner, const char* text, const char* caption, UINT type);
using TraceRoute = void (*)(const char* text);

MessageBoxRoute SetMessageBoxRoute(MessageBoxRoute route);   // returns the previous route
TraceRoute SetTraceRoute(TraceRoute route);                   // returns the previous route

// Returns the box's answer; unattended, traces "<caption>: <text>" and answers IDOK at once.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Process-wide, until changed; returns the previous setting.
bool SetUnattended(bool unattended);
bool IsUnattended();

// Adds `flags` (SEM_...) to the process's error mode, which says what the system itself may
// stop the process for with a box of its own (a crash, a drive without a disk); the flags set
// already stay. Returns the mode before.
UINT AddErrorMode(UINT flags);

// Sends the line followed by "\n" to the debugger output.
void TraceLine(const CStr& line);
void TraceFormat(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
