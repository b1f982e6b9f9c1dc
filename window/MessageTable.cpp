#include "window/MsgHandler.h"

#include "window/WndMap.h"

namespace {

// Puts a message in place as the current one for as long as its dispatch runs.
class CurrentMessageScope {
public:
    CurrentMessageScope(MSG& current, const MSG& message) : m_current(current), m_saved(current)
    {
        m_current = message;
    }
    ~CurrentMessageScope() { m_current = m_saved; }
    CurrentMessageScope(const CurrentMessageScope&) = delete;
    CurrentMessageScope& operator=(const CurrentMessageScope&) = delete;

private:
    MSG& m_current;
    const MSG m_saved;
};

enum class Result { returned, dropped };

// What the procedure answers for a row: the operation's result, or 0 where the row drops it.
LRESULT Answer(Result result, LRESULT operationResult)
{
    return result == Result::returned ? operationResult : 0;
}

}  // namespace

LRESULT CMsgHandler::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // A handler that sends a message to its own window and then calls DefaultProc() still
    // passes its own message on.
    const CurrentMessageScope scope(currentMessage, MSG{hwnd, message, wParam, lParam, 0, {0, 0}});
    return Route(hwnd, message, wParam, lParam);
}

// The message table: the rows of MessageRows.h, each a case of its own.
LRESULT CMsgHandler::Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_USER) {
        if (message < WM_APP)
            return OnUserMessage();
        if (message < 0xC000)
            return OnAppMessage();
        return OnMessage();   // registered messages
    }
    if (message == WM_NCDESTROY)
        g_wndMap.RemoveByHandle(hwnd);   // the window leaves the map before its last operation

    switch (message) {
#define MESSAGE_ROW(message, operation, result, parameters, arguments) \
    case message: return Answer(Result::result, operation arguments);
#define SHARED_ROW(message, operation, result, arguments) \
    case message: return Answer(Result::result, operation arguments);
#include "window/MessageRows.h"
    default: return OnMessage();   // WM_CREATE and WM_INITDIALOG among them
    }
}
