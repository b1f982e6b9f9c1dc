#pragma once
// The shared-memory block in which a show hook (ShowHook.cpp), loaded into the processes of
// the desktop, records each top-level window shown there, and from which a ShowRecorder reads
// them; and the recording that such a hook does inside each process. Plain data and system
// calls only: the hooks run without a C runtime.

#include "foundation/Win32.h"

namespace e2e {

constexpr char kShownWindowLogName[] = "e2e_shown_windows";
constexpr LONG kShownWindowLogCapacity = 512;

struct ShownWindowEntry {
    volatile LONG complete;   // set last, once the fields below are written
    DWORD processId;
    UINT64 window;
    WCHAR className[64];
    WCHAR title[128];
};

struct ShownWindowLog {
    volatile LONG claimed;   // entries handed out so far, counting those the capacity turned away
    ShownWindowEntry entries[kShownWindowLogCapacity];
};

inline void Record(ShownWindowLog& log, HWND window)
{
    const LONG slot = InterlockedIncrement(&log.claimed) - 1;
    if (slot >= kShownWindowLogCapacity)
        return;   // the recorder sees the overflow in `claimed`
    ShownWindowEntry& entry = log.entries[slot];
    entry.processId = GetCurrentProcessId();
    entry.window = reinterpret_cast<UINT_PTR>(window);
    GetClassNameW(window, entry.className, ARRAYSIZE(entry.className));
    InternalGetWindowText(window, entry.title, ARRAYSIZE(entry.title));
    InterlockedExchange(&entry.complete, 1);
}

// Inside a hook: the block is opened for each show and closed again (shows are rare), so that
// the hook keeps no state in the processes it runs in.
inline void RecordInOpenLog(const char* blockName, HWND window)
{
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, blockName);
    if (!mapping)
        return;   // no recorder now
    if (void* view = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ShownWindowLog))) {
        Record(*static_cast<ShownWindowLog*>(view), window);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
}

}  // namespace e2e
