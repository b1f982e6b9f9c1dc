#pragma once
// Carrying an exception across system frames.
//
// A C++ exception of this toolchain cannot unwind through the system's frames: a window
// procedure called by user32 must not let one escape. Each procedure therefore catches
// whatever a handler throws and parks it (GuardCallback), and our code rethrows it on its side
// of the system call once the call has returned.
//
// An exception belongs to the call that ran the procedure. Every call of ours into the system
// that may run our procedures (DispatchMessageA, GetMessageA, CreateWindowExA, DestroyWindow,
// SetWindowTextA ...) opens a CCarryScope around it; a procedure parks its exception in the
// innermost scope of its thread, and the scope's owner rethrows it when the call is back
// (CallCarrying does both). So an exception comes out of the call that ran its procedure and of
// no other. A procedure that runs with no scope around it (in a message box's loop, in a call
// of the system's own), or whose scope holds an exception already, has nobody to hand its
// exception to: it is reported at once (CStrayExceptionReporter), so that none is lost.

#include <exception>

class CCarryScope {
public:
    CCarryScope();    // becomes the thread's innermost scope
    ~CCarryScope();   // an exception it still holds is reported as a stray one
    CCarryScope(const CCarryScope&) = delete;
    CCarryScope& operator=(const CCarryScope&) = delete;

    bool HasException() const { return static_cast<bool>(m_parked); }
    // Rethrows the exception parked here, if any; the scope is empty afterwards.
    void Rethrow();

private:
    friend void CarryException(std::exception_ptr exception);

    CCarryScope* m_outer;
    std::exception_ptr m_parked;
};

// Parks `exception` in the thread's innermost scope, or reports it when it cannot be parked.
void CarryException(std::exception_ptr exception);

// Reports every exception that cannot be carried, for as long as it lives (the one it replaced
// afterwards). Without one, such an exception gets the standard report with an empty caption.
class CStrayExceptionReporter {
public:
    CStrayExceptionReporter();
    virtual ~CStrayExceptionReporter();
    CStrayExceptionReporter(const CStrayExceptionReporter&) = delete;
    CStrayExceptionReporter& operator=(const CStrayExceptionReporter&) = delete;

    virtual void Report(std::exception_ptr exception) = 0;

private:
    CStrayExceptionReporter* m_previous;
};

// Runs `callback` (a procedure body called by the system); anything it throws is parked and
// `resultOnException` returned to the system instead.
template <typename TResult, typename TCallback>
TResult GuardCallback(TResult resultOnException, TCallback&& callback)
{
    try {
        return callback();
    } catch (...) {
        CarryException(std::current_exception());
        return resultOnException;
    }
}

// Makes `call`, a call into the system that may run our procedures, and rethrows what they
// threw during it once it has returned; returns what the call answered.
template <typename TCall>
auto CallCarrying(TCall&& call) -> decltype(call())
{
    CCarryScope scope;
    auto answer = call();
    scope.Rethrow();
    return answer;
}
