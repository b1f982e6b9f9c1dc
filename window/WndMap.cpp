#include "window/WndMap.h"

#include "foundation/StructException.h"
#include "window/WndHandle.h"

CWndMap g_wndMap;

CWndMap::CWndMap()
{
    InitializeCriticalSection(&m_lock);
}

CWndMap::~CWndMap()
{
    m_entries.Clear();
    DeleteCriticalSection(&m_lock);
}

// Runs `work` under the lock. A failure ends the operation quietly: the report is composed
// as everywhere else and dropped, because nothing may be shown while the lock is held and
// the callers (window procedures) have nobody to tell.
template <typename TWork>
void CWndMap::Locked(TWork&& work)
{
    EnterCriticalSection(&m_lock);
    try {
        work();
    } catch (CStructException& e) {
        e.AddContext("Unhandled exception");
        // Kept on purpose: docs/compatibility.md, "Reports built and dropped".
        const CStr dropped = e.GetReport();
    } catch (...) {
        const CStr dropped("Unknown exception");
    }
    LeaveCriticalSection(&m_lock);
}

void CWndMap::Add(const WndMapEntry& entry)
{
    Locked([&] { m_entries.Append(entry); });
}

WndMapEntry* CWndMap::FindPending()
{
    WndMapEntry* found = nullptr;
    Locked([&] {
        const DWORD thread = GetCurrentThreadId();
        // Newest first: the entry this thread added just before its creating call.
        for (uint32_t i = m_entries.GetCount(); i > 0 && !found; --i) {
            WndMapEntry* entry = m_entries.GetAt(i - 1);
            if (entry->thread == thread)
                found = entry;
        }
    });
    return found;
}

uint32_t CWndMap::IndexOfHandle(HWND hwnd)
{
    const uint32_t count = m_entries.GetCount();
    for (uint32_t i = 0; i < count; ++i) {
        const CWndHandle* object = m_entries.GetAt(i)->object;
        if ((object ? object->handle : nullptr) == hwnd)
            return i;
    }
    return count;
}

WndMapEntry* CWndMap::FindByHandle(HWND hwnd)
{
    WndMapEntry* found = nullptr;
    Locked([&] { found = m_entries.GetAt(IndexOfHandle(hwnd)); });
    return found;
}

void CWndMap::RemoveByHandle(HWND hwnd)
{
    if (!hwnd)
        return;
    Locked([&] { m_entries.RemoveAt(IndexOfHandle(hwnd)); });
}

void CWndMap::RemoveObject(const CWndHandle* object)
{
    if (!object)
        return;
    Locked([&] {
        const uint32_t count = m_entries.GetCount();
        for (uint32_t i = 0; i < count; ++i) {
            if (m_entries.GetAt(i)->object == object) {
                m_entries.RemoveAt(i);
                return;
            }
        }
    });
}

uint32_t CWndMap::GetCount()
{
    uint32_t count = 0;
    Locked([&] { count = m_entries.GetCount(); });
    return count;
}
