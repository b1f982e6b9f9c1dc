#include "tools/driver/Memory.h"

#include "tools/driver/DriverError.h"

#include <psapi.h>

#include <algorithm>

namespace e2e {

bool TryReadMemory(HANDLE process, MemoryFigures& figures)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return false;
    figures.peakWorkingSet = counters.PeakWorkingSetSize;
    // Windows reports the same commit charge in both fields; Wine fills only the page-file one.
    figures.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return true;
}

MemoryFigures ReadMemory(HANDLE process)
{
    MemoryFigures figures;
    if (!TryReadMemory(process, figures))
        FailWithLastError("GetProcessMemoryInfo");
    return figures;
}

MemoryFigures Largest(const MemoryFigures& a, const MemoryFigures& b)
{
    MemoryFigures largest;
    largest.peakWorkingSet = std::max(a.peakWorkingSet, b.peakWorkingSet);
    largest.privateBytes = std::max(a.privateBytes, b.privateBytes);
    return largest;
}

}  // namespace e2e
