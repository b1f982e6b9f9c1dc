#pragma once
// Which framework object a window belongs to.
//
// A window gets its first messages inside CreateWindowExA or CreateDialogParamA, before the
// creating code has a handle to remember. So the creating code adds an entry for its object
// under its own thread id just before the call; the first message on that thread takes the
// newest such entry and writes the handle into the object; every later message finds the
// object by comparing the handle stored in each object.

#include "foundation/List.h"
#include "foundation/Win32.h"

class CWndHandle;

struct WndMapEntry {
    CWndHandle* object;   // not owned
    DWORD thread;         // the thread that added the entry; never changes
};

class CWndMap {
public:
    CWndMap();
    ~CWndMap();
    CWndMap(const CWndMap&) = delete;
    CWndMap& operator=(const CWndMap&) = delete;

    void Add(const WndMapEntry& entry);
    WndMapEntry* FindPending();
    WndMapEntry* FindByHandle(HWND hwnd);
    void RemoveByHandle(HWND hwnd);
    void RemoveObject(const CWndHandle* object);
    uint32_t GetCount();

private:
    template <typename TWork>
    void Locked(TWork&& work);
    // Index of the first entry whose handle is hwnd, or the count when there is none.
    uint32_t IndexOfHandle(HWND hwnd);

    CRITICAL_SECTION m_lock;
    CList<WndMapEntry> m_entries;
};

// The one map of the process.
extern CWndMap g_wndMap;
