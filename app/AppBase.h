#pragma once
// The application object: carries the process from its command line to its exit code.
//
// `Run` makes the single-instance check, parses the command line into key/value switches,
// lets the derived class look at them and create its windows, and runs the message loop.
// Every exception that reaches it, during start-up or while a message is handled, becomes
// an error box captioned with the title instead of a crash.

#include "foundation/Owned.h"
#include "foundation/StrList.h"
#include "foundation/StructException.h"   // kFailureWithoutCode

class CAppBase {
public:
    CAppBase();   // registers the common control classes
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;
    virtual ~CAppBase() = default;

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
    // reported and costs that one message, never the loop; so is one that a handler threw for
    // a message sent to us while the loop waited.
    virtual int MessageLoop();

    CStr m_title;
    CStr m_mutexName;
    CStr m_commandLine;
    CKeyValueList m_parameters;
    COwnedHandle m_mutex;   // held until the object goes: the single-instance mark
    int m_useMutex = 0;

private:
    int Start();
    bool IsAlreadyRunning();
    void ParseParameters();
    BOOL ReceiveMessage(MSG& message);
    void DispatchGuarded(const MSG& message);
    int ReportException(std::exception_ptr failure);
};
