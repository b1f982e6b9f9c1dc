// A second process for the application and end-to-end tests. Its command line picks the part:
//   <name>               a CAppBase whose single-instance mutex is <name>, shown to be held by a
//                        hidden window with the same name; posting WM_APP with wParam n to that
//                        window ends the run, and the process, with n
//   /QUIET /FAIL=START   the tool's application, quiet, failing in start-up (a foreign exception
//                        from InitInstance)
//   /QUIET /FAIL=CHANGE  the tool's application, quiet, whose change fails after the delete with
//                        an exception that carries no code
// The failing ones show the tool's real reports, if any: no recording route is installed.

#include "app/AppBase.h"
#include "app/FixedTexts.h"
#include "app/IdentifierApp.h"
#include "app/IdentifierStore.h"
#include "app/ProcessObjects.h"

#include <cstring>
#include <new>
#include <stdexcept>

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

// Nothing is stored or deleted: after the delete, reading fails without a code of its own.
class CFailingStore : public CIdentifierStore {
public:
    void LoadGenerator() const override {}
    void Delete() const override { m_deleted = true; }
    CStr GetOrCreate() const override
    {
        if (m_deleted)
            throw std::bad_alloc();
        return "{0123ABCD-0A0B-F00D-0001-FEDCBA987654-01D7C3A2-89ABCDF2}";
    }

private:
    mutable bool m_deleted = false;
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
        const CFailingStore store;
        CFailingApp app(store, std::strncmp(failure, "/FAIL=START", 11) == 0);
        return app.Run(kApplicationTitle, commandLine, 0, "");
    }
    CHostApp app(commandLine);
    return app.Run("Vortag host", "", 1, commandLine);
}
