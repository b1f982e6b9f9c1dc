#pragma once
// Carrying an exception across system frames.
//
// A C++ exception of this toolchain cannot unwind through the system's frames: a window
// procedure called by user32 must not let one escape. Each procedure therefore catches
// whatever a handler throws and parks it here (GuardCallback); the code on our side of the
// system call (DispatchMessageA, CreateWindowExA, CreateDialogParamA, DestroyWindow ...)
// rethrows it once the call has returned (RethrowCarriedException). One exception is parked
// per thread; should a second one arrive before the first is rethrown, the first is kept.

#include <exception>

void CarryException(std::exception_ptr exception);
void RethrowCarriedException();
bool HasCarriedException();

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
