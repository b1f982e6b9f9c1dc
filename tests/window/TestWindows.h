#pragma once
// Window and dialog objects for the framework's tests.

#include "window/DlgBase.h"
#include "window/WndBase.h"

// A hidden top-level window of a class of the tests' own.
class CTestWnd : public CWndBase {
public:
    explicit CTestWnd(const char* name = "VortagTestWindow") { className = name; }
};

// The tool's identifier dialog template, with the framework's default behaviour.
class CTestDlg : public CDlgBase {
public:
    CTestDlg() { templateId = 101; }
};

// Runs the calling thread's message loop the way the application does, with the exception
// that escaped each dispatch rethrown and handed to `caught`, until WM_QUIT.
template <typename TCaught>
void RunMessageLoop(TCaught&& caught);

// ---- definitions ------------------------------------------------------------------------

#include "foundation/CarriedException.h"

template <typename TCaught>
void RunMessageLoop(TCaught&& caught)
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        try {
            CallCarrying([&] { return DispatchMessageA(&message); });
        } catch (...) {
            caught(std::current_exception());
        }
    }
}
