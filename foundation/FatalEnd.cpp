#include "foundation/FatalEnd.h"

#include <csignal>
#include <cstdlib>
#include <exception>

namespace {

UINT g_exitCode = 0;

// No destructor, no exit handler, no library's detach code runs: the state they would work on
// is what made the runtime give up.
[[noreturn]] void EndAtOnce()
{
    TerminateProcess(GetCurrentProcess(), g_exitCode);
    ExitProcess(g_exitCode);   // not reached: the process does not outlive its own termination
}

void EndOnAbortSignal(int)
{
    EndAtOnce();
}

}  // namespace

void EndAtOnceWhenTheRuntimeGivesUp(UINT exitCode)
{
    g_exitCode = exitCode;
    std::set_terminate(EndAtOnce);
    // abort raises SIGABRT before it exits with 3; the message it may write goes to the standard
    // error stream, which a GUI program does not have, rather than to a box.
    std::signal(SIGABRT, EndOnAbortSignal);
    _set_error_mode(_OUT_TO_STDERR);
}
