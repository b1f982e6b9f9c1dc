#pragma once
// The shared-memory block in which the show hook (ShowHook.cpp), loaded into the processes of
// the desktop, records each top-level window shown there, and from which a ShowRecorder reads
// them. Plain data only: the hook runs without a C runtime.

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

}  // namespace e2e
