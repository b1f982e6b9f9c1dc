#include "tools/driver/ShowRecorder.h"

#include "tools/driver/DriverError.h"
#include "tools/driver/Files.h"

#include <algorithm>

namespace e2e {

namespace {

template <size_t N>
std::string Narrow(const WCHAR (&text)[N])
{
    char narrow[N * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(wcsnlen(text, N)), narrow, sizeof narrow - 1, nullptr,
                        nullptr);
    return narrow;
}

bool Holds(const std::vector<ShownWindow>& windows, HWND window)
{
    const auto same = [window](const ShownWindow& shown) { return shown.window == window; };
    return std::any_of(windows.begin(), windows.end(), same);
}

}  // namespace

std::string Describe(const std::vector<ShownWindow>& windows)
{
    std::string lines;
    for (const ShownWindow& shown : windows)
        lines += Format("\n  %p class \"%s\" title \"%s\"", static_cast<void*>(shown.window),
                        shown.className.c_str(), shown.title.c_str());
    return lines;
}

ShowRecorder::ShowRecorder(const ShowHook& hook)
{
    // The system gives the block zeroed: nothing recorded yet.
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(ShownWindowLog), hook.block);
    if (!m_mapping)
        Abandon("CreateFileMappingA");
    if (GetLastError() == ERROR_ALREADY_EXISTS)
        Abandon("another ShowRecorder records already: CreateFileMappingA");
    m_log = static_cast<const ShownWindowLog*>(MapViewOfFile(m_mapping, FILE_MAP_READ, 0, 0, 0));
    if (!m_log)
        Abandon("MapViewOfFile");
    // By its full path: the system loads the library into the other processes by the path it
    // was loaded from here, whatever their own search rules.
    const std::string library = BesideProgram(hook.library);
    m_hookLibrary = LoadLibraryA(library.c_str());
    if (!m_hookLibrary)
        Abandon("LoadLibraryA " + library);
    const auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(m_hookLibrary, hook.procedure)));
    if (!procedure)
        Abandon(std::string("GetProcAddress ") + hook.procedure + " of " + library);
    m_hook = SetWindowsHookExA(hook.type, procedure, m_hookLibrary, 0);
    if (!m_hook)
        Abandon("SetWindowsHookExA");
}

ShowRecorder::~ShowRecorder()
{
    Release();
}

std::vector<ShownWindow> ShowRecorder::ShownBy(DWORD processId) const
{
    const LONG claimed = m_log->claimed;
    if (claimed > kShownWindowLogCapacity)
        Fail("%ld shows on the desktop, more than the %ld that the record holds: it is incomplete", claimed,
             kShownWindowLogCapacity);
    std::vector<ShownWindow> windows;
    for (LONG i = 0; i < claimed; ++i) {
        const ShownWindowEntry& entry = m_log->entries[i];
        const HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(entry.window));
        if (entry.complete && (!processId || entry.processId == processId) && !Holds(windows, window))
            windows.push_back(ShownWindow{window, Narrow(entry.className), Narrow(entry.title)});
    }
    return windows;
}

void ShowRecorder::Abandon(const std::string& step)
{
    const DWORD error = GetLastError();
    Release();
    SetLastError(error);
    FailWithLastError(step);
}

void ShowRecorder::Release()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    if (m_hookLibrary)
        FreeLibrary(m_hookLibrary);
    if (m_log)
        UnmapViewOfFile(m_log);
    if (m_mapping)
        CloseHandle(m_mapping);
    m_hook = nullptr;
    m_hookLibrary = nullptr;
    m_log = nullptr;
    m_mapping = nullptr;
}

}  // namespace e2e
