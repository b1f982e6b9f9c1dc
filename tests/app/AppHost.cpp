// A second process for the application and end-to-end tests. Its command line picks the part:
//   <name>                   a CAppBase whose single-instance mutex is <name>, shown to be held by
//                            a hidden window with the same name; posting WM_APP with wParam n to
//                            that window ends the run, and the process, with n
//   /QUIET /FAIL=START       the tool's run (RunTool) of its application, quiet, failing in
//                            start-up (a foreign exception from InitInstance)
//   /QUIET /FAIL=CHANGE      the same, whose change fails after the delete with an exception that
//                            carries no code; it writes quiet-run.txt into its working folder:
//                            whether the run was unattended and the process's error mode when the
//                            application was made, during the change and after the run
//   /QUIET /FAIL=DESTRUCTOR  the same, whose change throws out of a destructor
// The failing ones show the tool's real reports, if any: no recording route is installed.

#include "app/AppBase.h"
#include "app/IdentifierStore.h"
#include "app/ToolMain.h"
#include "foundation/Report.h"

#include <cstring>
#include <fstream>
#include <new>
#include <stdexcept>
#include <string>

namespace {

const char kHostWindowClass[] = "VortagAppHost";

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP) {
        PostQuitMessage(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class CHostApp : public CAppBase {
public:
    explicit CHostApp(const char* name) : m_name(name) {}

protected:
    int InitInstance() override
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = HostWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kHostWindowClass;
        RegisterClassA(&windowClass);
        const HWND window = CreateWindowExA(0, kHostWindowClass, m_name, 0, 0, 0, 0, 0, nullptr, nullptr,
                                            windowClass.hInstance, nullptr);
        return window ? 0 : static_cast<int>(GetLastError());
    }

private:
    const char* m_name;
};

// How quiet the run is at a step of it.
std::string g_steps;

void NoteStep(const char* step)
{
    char note[96];
    wsprintfA(note, "%s: %s, error mode 0x%X\n", step, IsUnattended() ? "unattended" : "attended", GetErrorMode());
    g_steps += note;
}

[[noreturn]] __attribute__((noinline)) void ThrowOutOfMemory()
{
    throw std::bad_alloc();
}

struct CThrowsWhenDestroyed {
    ~CThrowsWhenDestroyed() { ThrowOutOfMemory(); }   // destructors may not throw: terminate
};

// Nothing is stored or deleted: storing the new identifier fails as `failure` says.
class CFailingStore : public CIdentifierStore {
public:
    explicit CFailingStore(std::string failure) : m_failure(std::move(failure)) {}

    CStr GetOrCreate() const override
    {
        NoteStep("made");
        return "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF2}";
    }
    CStr Generate() const override
    {
        NoteStep("changing");
        return "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF3}";
    }
    void Delete() const override {}
    void Store(const CStr&) const override
    {
        if (m_failure == "DESTRUCTOR")
            CThrowsWhenDestroyed();
        throw std::bad_alloc();
    }

private:
    std::string m_failure;
};

class CFailingApp : public CIdentifierApp {
public:
    CFailingApp(const CIdentifierStore& store, bool failAtStart) : CIdentifierApp(store, g_suiteFolder), m_failAtStart(failAtStart) {}

protected:
    int InitInstance() override
    {
        if (m_failAtStart)
            throw std::runtime_error("start-up");
        return CIdentifierApp::InitInstance();
    }

private:
    bool m_failAtStart;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    if (const char* failure = std::strstr(commandLine, "/FAIL=")) {
        const std::string part = failure + 6;
        const CFailingStore store(part);
        // A mode of the process's own, which the run must keep.
        SetErrorMode(SEM_NOALIGNMENTFAULTEXCEPT);
        const int exitCode = RunTool<CFailingApp>(commandLine, store, part == "START");
        NoteStep("ended");
        if (part == "CHANGE")
            std::ofstream("quiet-run.txt", std::ios::binary) << g_steps;
        return exitCode;
    }
    CHostApp app(commandLine);
    return app.Run("Vortag host", "", 1, commandLine);
}
