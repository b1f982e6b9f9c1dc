#include "window/MsgHandler.h"

LRESULT CMsgHandler::OnMessage() { return DefaultProc(); }
LRESULT CMsgHandler::OnOtherMessage() { return DefaultProc(); }
LRESULT CMsgHandler::OnUserMessage() { return DefaultProc(); }
LRESULT CMsgHandler::OnAppMessage() { return DefaultProc(); }

LRESULT CMsgHandler::DefaultProc()
{
    const MSG& m = currentMessage;
    return DefWindowProcA(m.hwnd, m.message, m.wParam, m.lParam);
}

// ---- Defaults of the per-message operations --------------------------------------------
// They take the rows' named parameters and need none of them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define MESSAGE_ROW(message, operation, result, parameters, arguments) \
    LRESULT CMsgHandler::operation parameters { return DefaultProc(); }
#define SHARED_ROW(message, operation, result, arguments)
#include "window/MessageRows.h"
#pragma GCC diagnostic pop
