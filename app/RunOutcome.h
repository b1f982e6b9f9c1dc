#pragma once
// What a run ends with: the process's exit code, which scripts read as 0 for success. The one
// place of the rule that a run that met a failure never ends with 0; every window that ends the
// run, and every failure reported, goes through it.
//
// The latest failure reported, or asked to end with, stays. The last change's outcome stands
// until the next change, so that a change that succeeds after one that failed ends the run with
// 0 again. A code asked for by whoever ends the run (WM_CLOSE's lParam to the hidden main
// window) wins over both.

#include "foundation/StructException.h"

class CRunOutcome {
public:
    void ChangeEnded(int result) { m_change = result; }             // 0, or the change's failure value
    void Failed(int code) { m_failure = ExitCodeOfFailure(code); }   // a failure reported

    // Ends the thread's message loop (PostQuitMessage) with ExitCode(requested).
    void End(int requested);
    // `requested` when it is not 0, else the last change's failure, else the latest failure.
    int ExitCode(int requested) const;

private:
    int m_change = 0;
    int m_failure = 0;
};
