#include "app/AppBase.h"

#include "foundation/CarriedException.h"
#include "foundation/DynLibrary.h"
#include "foundation/Report.h"
#include "foundation/SeTranslator.h"
#include "foundation/StructException.h"

#include <commctrl.h>

namespace {

// A key held down repeats its key-down, with bit 30 (the key was down before) set.
bool IsHeldEnterOrSpace(const MSG& message)
{
    return message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_SPACE) &&
           (message.lParam & (1 << 30)) != 0;
}

// Keys of a modeless dialog (Tab and Shift+Tab between its controls, Space and Enter on a button)
// go to the system's dialog keyboard handling, which dispatches whatever it takes itself. Enter
// and Escape elsewhere become IDOK and IDCANCEL, which the dialog's OnCommand answers. The
// system would press a button at every key-down of a held Enter: one press of the key is one
// press of the button, so the repeats go nowhere (in the fields Enter and Space do nothing).
bool TakenByDialogKeyboard(const MSG& message)
{
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    char className[8] = "";
    if (!root || !GetClassNameA(root, className, sizeof className) || lstrcmpA(className, "#32770") != 0)
        return false;
    if (IsHeldEnterOrSpace(message))
        return true;
    MSG taken = message;
    return IsDialogMessageA(root, &taken) != FALSE;
}

}  // namespace

CAppBase::CAppBase()
{
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;   // 8
    classes.dwICC = 0x3FFF;            // every group, list views up to native font controls
    // Without them the dialogs still work, only plainer: no failure here counts, not even
    // COMCTL32's (loaded from the system folder, never imported: see GetResidentFunction).
    try {
        GetResidentFunction<decltype(&InitCommonControlsEx)>("COMCTL32.DLL", "InitCommonControlsEx")(&classes);
    } catch (...) {
    }
}

// For the length of a run: the reporter of what a window procedure throws where no call of ours
// can take it back, and unattended mode as it was before the run once the run is over.
class CAppBase::CRunning : public CStrayExceptionReporter {
public:
    explicit CRunning(CAppBase& app) : m_app(app), m_wasUnattended(IsUnattended()) {}
    ~CRunning() override { SetUnattended(m_wasUnattended); }
    void Report(std::exception_ptr failure) override { m_app.ReportException(failure); }

private:
    CAppBase& m_app;
    bool m_wasUnattended;
};

int CAppBase::Run(const char* title, const char* commandLine, int useMutex, const char* mutexName)
{
    m_title = title;
    m_outcome = CRunOutcome();
    const CRunning running(*this);
    try {
        SetSeTranslator(TranslateStructuredException);
        m_commandLine = commandLine;
        m_useMutex = useMutex;
        m_mutexName = mutexName;
        return Start();
    } catch (...) {
        return ReportException(std::current_exception());
    }
}

int CAppBase::Start()
{
    if (m_useMutex && IsAlreadyRunning())
        return OnAlreadyRunning();
    ParseCommandLine(m_commandLine, m_parameters);
    OnParameters();
    if (m_unattended)
        SetUnattended(true);
    const int result = InitInstance();
    return result != 0 ? result : MessageLoop();
}

bool CAppBase::IsAlreadyRunning()
{
    m_mutex.Reset(CreateMutexA(nullptr, FALSE, m_mutexName.data));
    // Not only ERROR_ALREADY_EXISTS: a mutex we may not open belongs to another instance too.
    return GetLastError() != 0;
}

void CAppBase::ParseCommandLine(const CStr& commandLine, CKeyValueList& parameters)
{
    CStrList tokens;
    commandLine.Split("/|", tokens);
    while (tokens.GetCount() != 0) {
        if (CStr* token = tokens.GetAt(0))
            parameters.Append(CKeyValue(token->TrimLeft().TrimRight()));
        tokens.RemoveAt(0);
    }
}

void CAppBase::OnParameters() {}

int CAppBase::OnAlreadyRunning()
{
    return ERROR_ALREADY_EXISTS;
}

int CAppBase::InitInstance()
{
    return 0;
}

int CAppBase::MessageLoop()
{
    MSG message;
    for (;;) {
        const BOOL got = ReceiveMessage(message);
        if (got == 0)
            return m_outcome.ExitCode(static_cast<int>(message.wParam));
        if (got != -1)
            DispatchGuarded(message);
    }
}

// Messages sent to our windows from elsewhere are handled inside GetMessageA: what their
// handlers threw is reported before the message it returns is dispatched, or the loop ends.
BOOL CAppBase::ReceiveMessage(MSG& message)
{
    CCarryScope received;
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    try {
        received.Rethrow();
    } catch (...) {
        ReportException(std::current_exception());
    }
    return got;
}

void CAppBase::DispatchGuarded(const MSG& message)
{
    try {
        // Again for every message: a handler may have switched translation off.
        SetSeTranslator(TranslateStructuredException);
        CallCarrying([&] {
            if (TakenByDialogKeyboard(message))
                return LRESULT{0};
            TranslateMessage(&message);
            return DispatchMessageA(&message);
        });
    } catch (...) {
        ReportException(std::current_exception());
    }
}

int CAppBase::ReportException(std::exception_ptr failure)
{
    const int exitCode = ReportUnhandledException(failure, m_title);
    m_outcome.Failed(exitCode);
    return exitCode;
}
