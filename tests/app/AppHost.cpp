// A second process for the application tests. It runs a CAppBase whose single-instance mutex
// is named by its command line, and shows that it holds the mutex by a hidden window with the
// same name; posting WM_APP with wParam n to that window ends the run, and the process, with n.

#include "app/AppBase.h"

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

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    CHostApp app(commandLine);
    return app.Run("Vortag host", "", 1, commandLine);
}
