#pragma once
// The window procedures of the framework.
//
// A framework window starts on an initial procedure, which binds the window to the object
// that its creator registered in the window map and then installs RoutingProc; from then
// on RoutingProc finds the object by its handle and lets it dispatch the message.
//
// No exception leaves these procedures: what a handler throws is carried over the system's
// frames and rethrown by our code once the system call has returned (see
// foundation/CarriedException.h). The system gets 0 for the message whose handler threw,
// except WM_CREATE, which gets -1 so that the creation fails at once.

#include "foundation/Win32.h"

// The procedure of every window class that CWndBase registers.
LRESULT CALLBACK InitialWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog procedure that CDlgBase gives to CreateDialogParamA.
INT_PTR CALLBACK InitialDlgProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Installed by both at the first message; serves as window and as dialog procedure.
LRESULT CALLBACK RoutingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
