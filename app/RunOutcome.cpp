#include "app/RunOutcome.h"

// Only the last PostQuitMessage of a thread reaches its WM_QUIT, and it may carry 0 (the system's
// own, or another window's that closes after one asked to end with a failure): the failure is
// kept here rather than in the quit.
void CRunOutcome::End(int requested)
{
    if (requested != 0)
        Failed(requested);
    PostQuitMessage(ExitCode(requested));
}

int CRunOutcome::ExitCode(int requested) const
{
    return requested != 0 ? requested : m_change != 0 ? m_change : m_failure;
}
