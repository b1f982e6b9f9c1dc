#pragma once
// The message part of every framework object: one virtual operation per window message.
//
// Dispatch turns a message into a call of its operation with wParam and lParam already
// split. Split words (LOWORD, HIWORD) arrive zero-extended: a coordinate left of or above
// the origin arrives as 32768 to 65535. Every default hands the message to DefaultProc.
//
// The per-message operations are declared from the rows of MessageRows.h, which say where
// their arguments come from and whether their result is the procedure's answer.

#include "foundation/Win32.h"

class CMsgHandler {
public:
    CMsgHandler() = default;
    virtual ~CMsgHandler() = default;
    CMsgHandler(const CMsgHandler&) = delete;
    CMsgHandler& operator=(const CMsgHandler&) = delete;

    LRESULT Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // ---- The general operations; they read the current message -------------------------
    // Messages below 0x0400 without an operation of their own, and 0xC000 and above.
    virtual LRESULT OnMessage();
    // The default processing of the current message: DefWindowProcA.
    virtual LRESULT DefaultProc();
    // What the OnMessage overrides of the framework's bases pass on.
    virtual LRESULT OnOtherMessage();
    // WM_USER range, 0x0400 to 0x7FFF.
    virtual LRESULT OnUserMessage();
    // WM_APP range, 0x8000 to 0xBFFF.
    virtual LRESULT OnAppMessage();

    // ---- One operation per message, declared from its row ------------------------------
#define MESSAGE_ROW(message, operation, result, parameters, arguments) virtual LRESULT operation parameters;
#define SHARED_ROW(message, operation, result, arguments)
#include "window/MessageRows.h"

    // The message being dispatched (time and point zero). A nested dispatch replaces it
    // while it runs; the outer message is back when the nested one returns.
    MSG currentMessage{};

private:
    LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
