#pragma once
// Starting a Windows program with a Unix environment of the driver's choosing.
//
// Under Wine a process takes its language (user locale and user interface language) from the
// locale variables of its Unix environment (LC_ALL, then LC_MESSAGES, then LANG), and a child
// started with CreateProcess inherits the Unix environment of its parent: the environment
// block handed to CreateProcess becomes only the child's Windows environment (Wine carries
// nothing else over but WINEDEBUG). A Unix program, on the other hand, is started with the
// block as its Unix environment. So the driver starts Wine's own loader as a Unix program with
// the block, the loader runs e2e_launch, and e2e_launch (now with that Unix environment)
// starts the program and hands its handle back.

#include "foundation/Win32.h"

#include <string>

namespace e2e {

struct StartedProcess {
    HANDLE process = nullptr;
    DWORD id = 0;
};

bool RunsUnderWine();

// Starts `commandLine` in `folder` (empty: the driver's own) with `environmentBlock` as its
// Unix (and so Windows) environment. Only under Wine; throws DriverError on failure.
StartedProcess StartThroughUnix(const std::string& commandLine, const std::string& environmentBlock,
                                const std::string& folder, unsigned timeoutMs);

}  // namespace e2e
