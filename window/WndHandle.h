#pragma once
// The window handle part of every framework object, and the operations on its window.
//
// Every operation is safe on an object whose handle is NULL or no longer a window. The
// object never destroys its window by itself and never leaves the window map by itself.

#include "foundation/List.h"
#include "foundation/Win32.h"

class CCarryScope;

class CWndHandle {
public:
    CWndHandle();
    virtual ~CWndHandle();   // leaves the window map: no message can reach the object after
    CWndHandle(const CWndHandle&) = delete;
    CWndHandle& operator=(const CWndHandle&) = delete;

    // Destroys the window if there is one; nonzero when the handle is NULL afterwards.
    BOOL Destroy();
    BOOL Update();
    // ShowWindow's answer: whether the window was visible before.
    BOOL Show(int showCommand);
    HWND GetItem(int id) const;
    LRESULT SetIcon(HICON icon, WPARAM kind);
    // Puts bitmap resource `bitmapId` of the module on button `controlId`, at `size` pixels when
    // given (scaled smoothly), else at its own. The object keeps the bitmap (a button does not
    // own its image) until the button shows another or the object goes.
    void SetButtonBitmap(int controlId, int bitmapId, SIZE size = {});
    // The same for a static control of style SS_BITMAP, which takes the bitmap's size.
    void SetStaticBitmap(int controlId, int bitmapId, SIZE size = {});

    // The text always passes through the formatter: a literal per cent sign is written "%%".
    BOOL SetWindowTextFormat(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    BOOL SetDlgItemTextFormat(int controlId, const char* format, ...)
        __attribute__((format(gnu_printf, 3, 4)));

    HWND handle = nullptr;   // bound by the window's first message
    HINSTANCE instance;      // classes, templates and bitmaps come from this module

protected:
    // Finishes a creating call (CreateWindowExA, CreateDialogParamA) that returned `created`
    // within the scope `creation`: 0, or the system's error code after a failure. A failed
    // creation leaves the object as before it started: no map entry, no handle. An exception
    // that a handler threw during the call takes the new window with it and is thrown from here.
    DWORD ConcludeCreation(HWND created, CCarryScope& creation);
    // Destroys the window as the object goes. A handler's exception then has no caller to go
    // to: it is reported on its own.
    void DestroyWithObject();

private:
    // The bitmaps the object put on its controls: each is freed when its control shows another,
    // the rest when the object goes.
    class CControlBitmaps {
    public:
        CControlBitmaps() = default;
        ~CControlBitmaps();
        CControlBitmaps(const CControlBitmaps&) = delete;
        CControlBitmaps& operator=(const CControlBitmaps&) = delete;

        void Keep(HBITMAP face);
        // Frees `face` when it is one of these; anything else stays as it is.
        void Free(HBITMAP face);

    private:
        CList<HBITMAP> m_faces;
    };

    BOOL DestroyWindowNow();
    void Clear();
    // Loads the bitmap (at `size`, as above) and sends it to the control with `setImage`
    // (BM_SETIMAGE, STM_SETIMAGE).
    void SetControlBitmap(int controlId, int bitmapId, SIZE size, UINT setImage);

    CControlBitmaps m_controlBitmaps;
};
