#pragma once
// How the process ends when the C++ runtime gives up on it.
//
// Left alone, std::terminate (an exception that nothing may catch: one thrown out of a
// destructor, or while another is unwinding) and abort end the process through the C runtime's
// abort, which in a GUI program may first show a box of its own and then exits with 3: a code
// that callers may take for an outcome of the program's own, after a wait for a person.

#include "foundation/Win32.h"

// From now on both end the process at once with `exitCode`: no box, and nothing else of the
// process runs.
void EndAtOnceWhenTheRuntimeGivesUp(UINT exitCode);
