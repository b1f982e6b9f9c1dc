#include "tools/driver/TopWindows.h"

#include "tools/driver/DriverError.h"

namespace e2e {

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOfProcess(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId)
        search->found.push_back(window);
    return TRUE;
}

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The title that the system keeps for a top-level window; it needs no message to the owner,
// so a busy program cannot block the search.
std::string TitleOf(HWND window)
{
    char title[512] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

struct Query {
    const std::string& title;
    const std::string& className;
    bool visibleOnly;

    bool Matches(HWND window) const
    {
        return (title.empty() || TitleOf(window) == title) && (className.empty() || ClassOf(window) == className) &&
               (!visibleOnly || IsWindowVisible(window));
    }
};

std::string DescribeWindowsOf(DWORD processId)
{
    std::string list;
    for (HWND window : TopWindowsOf(processId))
        list += "\n  " + DescribeWindow(window);
    return list.empty() ? " none" : list;
}

HWND FindWindowOf(const Process& process, const Query& query, unsigned timeoutMs)
{
    HWND match = nullptr;
    bool ended = false;
    PollUntil(timeoutMs, [&] {
        ended = !process.IsRunning();   // looked at first: a window found after it is real
        for (HWND window : TopWindowsOf(process.Id()))
            if (!match && query.Matches(window))
                match = window;
        return match || ended;
    });
    if (match)
        return match;
    Fail("no %stop-level window with title \"%s\" and class \"%s\" of %s (process %lu) %s; its windows:%s",
         query.visibleOnly ? "visible " : "", query.title.c_str(), query.className.c_str(), process.Name().c_str(),
         process.Id(), ended ? "before it ended" : Format("within %u ms", timeoutMs).c_str(),
         DescribeWindowsOf(process.Id()).c_str());
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD processId)
{
    Search search{processId, {}};
    EnumWindows(CollectWindowOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string DescribeWindow(HWND window)
{
    return Format("%p class \"%s\" title \"%s\" %s", static_cast<void*>(window), ClassOf(window).c_str(),
                  TitleOf(window).c_str(), IsWindowVisible(window) ? "visible" : "hidden");
}

HWND FindTopWindow(const Process& process, const std::string& title, const std::string& className,
                   unsigned timeoutMs)
{
    return FindWindowOf(process, Query{title, className, true}, timeoutMs);
}

HWND FindAnyTopWindow(const Process& process, const std::string& title, const std::string& className,
                      unsigned timeoutMs)
{
    return FindWindowOf(process, Query{title, className, false}, timeoutMs);
}

HWND FirstVisibleWindow(const Process& process, unsigned periodMs)
{
    HWND visible = nullptr;
    PollUntil(periodMs, [&] {
        const bool ended = !process.IsRunning();
        for (HWND window : TopWindowsOf(process.Id()))
            if (!visible && IsWindowVisible(window))
                visible = window;
        return visible || ended;
    });
    return visible;
}

HWND Control(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        Fail("window %s has no control %d", DescribeWindow(dialog).c_str(), id);
    return control;
}

}  // namespace e2e
