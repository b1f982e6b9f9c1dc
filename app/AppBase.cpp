#include "app/AppBase.h"

#include "foundation/CarriedException.h"
#include "foundation/DynLibrary.h"
#include "foundation/Report.h"
#include "foundation/SeTranslator.h"
#include "foundation/StructException.h"

#include <commctrl.h>

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

CAppBase::~CAppBase()
{
    if (m_mutex) {
        CloseHandle(m_mutex);
        m_mutex = nullptr;
    }
}

int CAppBase::Run(const char* title, const char* commandLine, int useMutex, const char* mutexName)
{
    try {
        SetSeTranslator(TranslateStructuredException);
        m_title = title;
        m_commandLine = commandLine;
        m_useMutex = useMutex;
        m_mutexName = mutexName;
        return Start();
    } catch (...) {
        return ReportCurrentException();
    }
}

int CAppBase::Start()
{
    if (m_useMutex && IsAlreadyRunning())
        return OnAlreadyRunning();
    ParseParameters();
    OnParameters();
    const int result = InitInstance();
    return result != 0 ? result : MessageLoop();
}

bool CAppBase::IsAlreadyRunning()
{
    m_mutex = CreateMutexA(nullptr, FALSE, m_mutexName.data);
    // Not only ERROR_ALREADY_EXISTS: a mutex we may not open belongs to another instance too.
    return GetLastError() != 0;
}

void CAppBase::ParseParameters()
{
    CStrList tokens;
    m_commandLine.Split("/|", tokens);
    while (tokens.GetCount() != 0) {
        if (CStr* token = tokens.GetAt(0))
            m_parameters.Append(CKeyValue(token->TrimLeft().TrimRight()));
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
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(message.wParam);
        if (got != -1)
            DispatchGuarded(message);
    }
}

void CAppBase::DispatchGuarded(const MSG& message)
{
    try {
        // Again for every message: a handler may have switched translation off.
        SetSeTranslator(TranslateStructuredException);
        TranslateMessage(&message);
        DispatchMessageA(&message);
        RethrowCarriedException();   // what the window procedure parked
    } catch (...) {
        ReportCurrentException();    // the loop's result is WM_QUIT's alone
    }
}

// Called inside a catch-all handler: shows the box for the exception being handled and
// returns the exit code it stands for.
int CAppBase::ReportCurrentException()
{
    try {
        throw;
    } catch (CStructException& failure) {
        failure.AddContext("Unhandled exception");
        failure.ShowReport(m_title);
        return failure.code != 0 ? failure.code : kFailureWithoutCode;
    } catch (...) {
        ShowMessageBox(nullptr, "Unknown exception", m_title.data, MB_TOPMOST | MB_ICONERROR);
        return kFailureWithoutCode;
    }
}
