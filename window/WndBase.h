#pragma once
// Base class of top-level windows: registers its window class and creates its window.
//
// A derived class fills the class and creation settings in its constructor. The window goes
// with the object: this destructor destroys it, so no message can reach an object that is gone.

#include "foundation/Str.h"
#include "window/MsgHandler.h"
#include "window/WndHandle.h"

class CWndBase : public CWndHandle, public CMsgHandler {
public:
    CWndBase() = default;
    ~CWndBase() override;

    // 0, or the system's error code.
    DWORD RegisterWndClass();
    // 0 when the window was created (or the object has one already), else the system's
    // error code; 1410 from the class registration counts as success, so a class is reused.
    DWORD Create(HWND parent, void* createParam);

    // WM_CREATE: 0 lets the creation go on, -1 makes CreateWindowExA fail.
    virtual LRESULT OnCreate(CREATESTRUCTA* cs);
    // Turns WM_CREATE into OnCreate; everything else goes to OnOtherMessage.
    LRESULT OnMessage() override;

    // Class settings.
    CStr className;
    HBRUSH background = nullptr;
    HCURSOR cursor = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    CStr menuName;
    UINT classStyle = 0;

    // Creation settings.
    CStr windowName;
    DWORD exStyle = 0;
    DWORD style = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HMENU menu = nullptr;
};
