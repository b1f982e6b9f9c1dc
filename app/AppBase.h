#pragma once
// The application object: carries the process from its command line to its exit code.
//
// `Run` makes the single-instance check, parses the command line into key/value switches,
// lets the derived class look at them and create its windows, and runs the message loop.
// Every exception that reaches it, during start-up or while a message is handled, becomes
// an error box captioned with the title instead of a crash.

#include "foundation/StrList.h"

// Exit code of a run that failed without a code of its own: an exception of a foreign type,
// or one of ours carrying code 0. Scripts read 0 as success, so such a failure must never
// end the process with 0.
constexpr int kFailureWithoutCode = ERROR_INTERNAL_ERROR;

class CAppBase {
public:
    CAppBase();   // registers the common control classes
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;
    virtual ~CAppBase();   // closes the single-instance mutex

    // Returns the exit code: that of OnAlreadyRunning for a second instance, a non-zero
    // result of InitInstance, else the message loop's WM_QUIT value; the code of a
    // CStructException that ends start-up (kFailureWithoutCode for one without a code or for
    // an exception of any other type).
    int Run(const char* title, const char* commandLine, int useMutex, const char* mutexName);

protected:
    // Called once the parameters are parsed; a derived class reads them here.
    virtual void OnParameters();
    // The result of a run that found the mutex already there.
    virtual int OnAlreadyRunning();
    // Creates the application's windows; a non-zero result ends the run with that result.
    virtual int InitInstance();
    // Until WM_QUIT, whose wParam it returns. An exception escaping a window's handler is
    // reported and costs that one message, never the loop.
    virtual int MessageLoop();

    CStr m_title;
    CStr m_mutexName;
    CStr m_commandLine;
    CKeyValueList m_parameters;
    HANDLE m_mutex = nullptr;
    int m_useMutex = 0;

private:
    int Start();
    bool IsAlreadyRunning();
    void ParseParameters();
    void DispatchGuarded(const MSG& message);
    int ReportCurrentException();
};
