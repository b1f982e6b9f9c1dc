#include "window/WndBase.h"

#include "foundation/CarriedException.h"
#include "window/WndMap.h"
#include "window/WndProcs.h"

CWndBase::~CWndBase()
{
    // The derived part is gone already: the WM_DESTROY and WM_NCDESTROY sent now reach the
    // handlers of this class.
    DestroyWithObject();
}

DWORD CWndBase::RegisterWndClass()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = InitialWndProc;
    // Reserved: the object is found through the window map, never through these bytes.
    windowClass.cbClsExtra = 4;
    windowClass.cbWndExtra = 4;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszMenuName = menuName.data;
    windowClass.lpszClassName = className.data;
    windowClass.hIconSm = smallIcon;
    return RegisterClassExA(&windowClass) ? 0 : GetLastError();
}

DWORD CWndBase::Create(HWND parent, void* createParam)
{
    if (handle)
        return 0;
    const DWORD registered = RegisterWndClass();
    if (registered != 0 && registered != ERROR_CLASS_ALREADY_EXISTS)
        return registered;

    // The window's first message, inside CreateWindowExA, binds it to this entry.
    g_wndMap.Add(WndMapEntry{this, GetCurrentThreadId()});
    CCarryScope creation;
    const HWND created = CreateWindowExA(exStyle, className.data, windowName.data, style, x, y, width,
                                         height, parent, menu, instance, createParam);
    return ConcludeCreation(created, creation);
}

LRESULT CWndBase::OnCreate(CREATESTRUCTA*)
{
    return 0;
}

LRESULT CWndBase::OnMessage()
{
    if (currentMessage.message != WM_CREATE)
        return OnOtherMessage();
    handle = currentMessage.hwnd;
    return OnCreate(reinterpret_cast<CREATESTRUCTA*>(currentMessage.lParam));
}
