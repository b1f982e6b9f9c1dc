#pragma once
// Memory figures of another process, for the benchmark.

#include "foundation/Win32.h"

#include <cstddef>

namespace e2e {

struct MemoryFigures {
    size_t peakWorkingSet = 0;   // bytes: the most physical memory the process has held so far
    size_t privateBytes = 0;     // bytes committed for the process alone, now
};

// The figures of a running process (the handle needs PROCESS_QUERY_INFORMATION and
// PROCESS_VM_READ). Under Wine they read zero once the process has ended, so read them while it
// runs. ReadMemory throws when the system gives none; TryReadMemory answers false.
MemoryFigures ReadMemory(HANDLE process);
bool TryReadMemory(HANDLE process, MemoryFigures& figures);

// The larger of each figure.
MemoryFigures Largest(const MemoryFigures& a, const MemoryFigures& b);

}  // namespace e2e
