#pragma once
// Records every top-level window that a process of the desktop shows while the recorder lives,
// however briefly: what a check that a program shows nothing needs, since a window shown and
// hidden again between two looks at the screen leaves no trace there.
//
// It installs a hook for the whole desktop whose procedure (ShowHook.cpp, e2e_show_hook.dll
// beside the test program, of the test's own architecture) runs in each process of it. A process
// takes the hook up at its next sent message, so make the recorder before starting the program.
// One recorder of the default ShowHook at a time: they share one block. A recorder with a block of
// its own records beside it.

#include "foundation/Win32.h"
#include "tools/driver/ShownWindowLog.h"

#include <string>
#include <vector>

namespace e2e {

struct ShownWindow {
    HWND window;
    std::string className;
    std::string title;
};

// Handle, class and title of each window as they were when it was shown, each on a line of its
// own after a line break; empty for none.
std::string Describe(const std::vector<ShownWindow>& windows);

// The hook a recorder installs and the block it records into: by default the driver's show hook
// (ShowHook.cpp) and the desktop's one block.
struct ShowHook {
    const char* block = kShownWindowLogName;
    const char* library = "e2e_show_hook.dll";   // beside the test program
    const char* procedure = "RecordShownWindow";
    int type = WH_CALLWNDPROC;
};

class ShowRecorder {
public:
    explicit ShowRecorder(const ShowHook& hook = ShowHook());
    ~ShowRecorder();
    ShowRecorder(const ShowRecorder&) = delete;
    ShowRecorder& operator=(const ShowRecorder&) = delete;

    // The top-level windows that process `processId` (0: any process) has shown so far, each
    // once, in the order of their first show. Throws when more shows came than the record holds.
    std::vector<ShownWindow> ShownBy(DWORD processId) const;

private:
    [[noreturn]] void Abandon(const std::string& step);
    void Release();

    HANDLE m_mapping = nullptr;
    const ShownWindowLog* m_log = nullptr;
    HMODULE m_hookLibrary = nullptr;
    HHOOK m_hook = nullptr;
};

}  // namespace e2e
