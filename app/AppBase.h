#pragma once
// The application object: carries the process from its command line to its exit code.
//
// `Run` makes the single-instance check, parses the command line into key/value switches,
// lets the derived class look at them and create its windows, and runs the message loop.
// Every exception that reaches it, during start-up or while a message is handled, becomes
// an error box captioned with the title instead of a crash; in an unattended run, a trace line
// instead of the box. Either way the failure sticks: the run never ends with 0 after it.

#include "app/RunOutcome.h"
#include "foundation/Owned.h"
#include "foundation/StrList.h"

class CAppBase {
public:
    CAppBase();   // registers the common control classes
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;
    virtual ~CAppBase() = default;

    // Returns the exit code: that of OnAlreadyRunning for a second instance, a non-zero
    // result of InitInstance, else what the run's outcome makes of the message loop's WM_QUIT
    // value; the code of a CStructException that ends start-up (kFailureWithoutCode for one
    // without a code or for an exception of any other type).
    int Run(const char* title, const char* commandLine, int useMutex, const char* mutexName);

    // The outcome of the run, which the windows end it through; it lives as long as the object.
    CRunOutcome& Outcome() { return m_outcome; }

    // The command line's switches: words split at every '/' and '|', trimmed, each a key (upper
    // case) with an optional value after '='.
    static void ParseCommandLine(const CStr& commandLine, CKeyValueList& parameters);

protected:
    // Called once the parameters are parsed; a derived class reads them here, and sets
    // m_unattended when they say that nobody will be at the screen.
    virtual void OnParameters();
    // The result of a run that found the mutex already there.
    virtual int OnAlreadyRunning();
    // Creates the application's windows; a non-zero result ends the run with that result.
    virtual int InitInstance();
    // Until WM_QUIT, whose wParam goes to the outcome. An exception escaping a window's handler is
    // reported and costs that one message, never the loop; so is one that a handler threw for
    // a message sent to us while the loop waited.
    virtual int MessageLoop();

    CStr m_title;
    CStr m_mutexName;
    CStr m_commandLine;
    CKeyValueList m_parameters;
    COwnedHandle m_mutex;   // held until the object goes: the single-instance mark
    int m_useMutex = 0;
    // No report may wait for a person: each becomes a trace line (foundation/Report.h), from
    // OnParameters to the end of the run. (A program that knows it sooner says so sooner.)
    bool m_unattended = false;

private:
    class CRunning;

    int Start();
    bool IsAlreadyRunning();
    BOOL ReceiveMessage(MSG& message);
    void DispatchGuarded(const MSG& message);
    int ReportException(std::exception_ptr failure);

    CRunOutcome m_outcome;
};
