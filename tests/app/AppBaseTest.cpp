#include "app/AppBase.h"

#include "foundation/CarriedException.h"
#include "foundation/Report.h"
#include "foundation/SeTranslator.h"
#include "foundation/StructException.h"
#include "tests/support/RecordingRoutes.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <thread>
#include <string>
#include <utility>
#include <vector>

namespace {

const char kTitle[] = "Vortag under test";
const char kWindowClass[] = "VortagAppBaseTest";
const UINT kStructuredBox = MB_ICONERROR | MB_TOPMOST | MB_SERVICE_NOTIFICATION;
const UINT kUnknownBox = MB_ICONERROR | MB_TOPMOST;
const char kAccessViolationReport[] =
    "WIN32 ERROR:\nUnhandled exception\n\nCode: -1073741819 (0xC0000005)\n"
    "The thread tried to read from or write to a virtual address for which it does not have the "
    "appropriate access.";

// Messages a test posts to its window; each makes the window's handler do one thing.
enum : UINT {
    kFail = WM_APP + 1,   // runs g_fault
    kMark,                // records wParam
    kQuit,                // PostQuitMessage(wParam)
    kCountBoxes,          // records how many boxes g_routes has seen so far
    kEndRun,              // ends the run through its outcome with wParam
};

std::vector<WPARAM> g_marks;
const RecordingRoutes* g_routes = nullptr;
CAppBase* g_running = nullptr;   // the application whose InitInstance ran last
std::function<void()> g_fault;
volatile int* volatile g_nowhere = nullptr;

[[noreturn]] void RaiseAccessDenied()
{
    RaiseSystemError(ERROR_ACCESS_DENIED, "Registry: %s", "Creating key. ");
}

std::string AccessDeniedReport()
{
    return "SYSTEM ERROR:\nUnhandled exception\nRegistry: Creating key. \n\nCode: 5 (0x00000005)\n" +
           std::string(CSystemException::Describe(ERROR_ACCESS_DENIED).data);
}

__attribute__((noinline)) void WriteThroughNull()
{
    *g_nowhere = 1;
}

LRESULT HandleScripted(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kFail: g_fault(); return 0;
    case kMark: g_marks.push_back(wParam); return 0;
    case kQuit: PostQuitMessage(static_cast<int>(wParam)); return 0;
    case kCountBoxes: g_marks.push_back(g_routes->Boxes().size()); return 0;
    case kEndRun: g_running->Outcome().End(static_cast<int>(wParam)); return 0;
    default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK ScriptedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardCallback<LRESULT>(0, [&] { return HandleScripted(window, message, wParam, lParam); });
}

struct Posted {
    UINT message;
    WPARAM wParam;
};

// An application whose InitInstance makes a message-only window and posts it a script.
class CScriptedApp : public CAppBase {
public:
    ~CScriptedApp() override
    {
        if (window)
            DestroyWindow(window);
    }

    std::vector<Posted> script;
    std::function<int()> initResult = [] { return 0; };   // how InitInstance ends
    std::vector<std::string> calls;                        // the virtual operations called
    std::vector<std::pair<std::string, std::string>> parameters;
    HWND window = nullptr;
    bool unattended = false;

protected:
    void OnParameters() override
    {
        calls.push_back("OnParameters");
        m_unattended = unattended;
        for (uint32_t i = 0; i < m_parameters.GetCount(); ++i) {
            const CKeyValue* parameter = m_parameters.GetAt(i);
            parameters.emplace_back(parameter->key.data, parameter->value.data);
        }
    }
    int InitInstance() override
    {
        calls.push_back("InitInstance");
        g_running = this;
        window = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        for (const Posted& posted : script)
            PostMessageA(window, posted.message, posted.wParam, 0);
        return initResult();
    }
    int MessageLoop() override
    {
        calls.push_back("MessageLoop");
        return CAppBase::MessageLoop();
    }
};

const std::vector<std::string> kStartAndLoop{"OnParameters", "InitInstance", "MessageLoop"};
const std::vector<std::string> kStartOnly{"OnParameters", "InitInstance"};

// Boxes are recorded, never shown; each test leaves the thread's queue and translator clean.
class AppBaseTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ScriptedWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
    }
    void SetUp() override
    {
        g_marks.clear();
        m_previousTranslator = SetSeTranslator(nullptr);
    }
    void TearDown() override
    {
        SetSeTranslator(m_previousTranslator);
        MSG leftover;
        while (PeekMessageA(&leftover, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    RecordingRoutes routes;

private:
    SeTranslatorFunction m_previousTranslator = nullptr;
};

// The test program's sibling app_host.exe, holding the mutex `name` until told to quit.
class HostProcess {
public:
    explicit HostProcess(const std::string& name) : m_name(name)
    {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string commandLine(path);
        commandLine = "\"" + commandLine.substr(0, commandLine.rfind('\\') + 1) + "app_host.exe\" " + name;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        m_started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                   &startup, &m_process);
    }
    ~HostProcess()
    {
        if (!m_started)
            return;
        TerminateProcess(m_process.hProcess, 1);   // nothing left to end after WaitForExit
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }

    // The window the host makes once it holds the mutex; null when it ends or never shows it.
    HWND WaitForWindow() const
    {
        HWND window = nullptr;
        for (int i = 0; m_started && !window && i < 3000; ++i)
            if (!(window = FindWindowA("VortagAppHost", m_name.c_str())) &&
                WaitForSingleObject(m_process.hProcess, 20) != WAIT_TIMEOUT)
                break;
        return window;
    }

    DWORD WaitForExit() const   // STILL_ACTIVE when the host has not ended within a minute
    {
        DWORD code = STILL_ACTIVE;
        if (m_started && WaitForSingleObject(m_process.hProcess, 60000) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }

private:
    std::string m_name;
    PROCESS_INFORMATION m_process{};
    BOOL m_started = FALSE;
};

}  // namespace

TEST_F(AppBaseTest, QuitMessageEndsTheLoopWithItsValue)
{
    CScriptedApp app;
    app.script = {{kMark, 1}, {kQuit, 7}};
    EXPECT_EQ(app.Run(kTitle, "", 0, ""), 7);
    EXPECT_EQ(app.calls, kStartAndLoop);
    EXPECT_EQ(g_marks, std::vector<WPARAM>{1});
    EXPECT_TRUE(routes.Boxes().empty());
}

// Only the last quit of a thread reaches the loop; a failure asked for before it sticks.
TEST_F(AppBaseTest, ARunThatAskedToEndWithAFailureNeverEndsWithZero)
{
    const struct {
        std::vector<Posted> script;
        int result;
    } cases[] = {
        {{{kEndRun, 0}}, 0},
        {{{kEndRun, 5}, {kEndRun, 0}}, 5},
        {{{kEndRun, 5}, {kQuit, 0}}, 5},
        {{{kEndRun, 5}, {kEndRun, 7}}, 7},
    };
    for (const auto& c : cases) {
        CScriptedApp app;
        app.script = c.script;
        EXPECT_EQ(app.Run(kTitle, "", 0, ""), c.result) << c.script.size() << " steps to " << c.result;
    }
}

TEST_F(AppBaseTest, CommandLineReachesOnParametersAndNonZeroInitInstanceEndsTheRun)
{
    using Switches = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* commandLine;
        Switches expected;
    } cases[] = {
        {"", {}},
        {"/a = b|/c", {{"A", "b"}, {"C", ""}}},
        {" /Quiet || x=1=2 //", {{"", ""}, {"QUIET", ""}, {"X=1=2", ""}}},   // the blank is a word too
        {"/path= C:\\a b\\ ", {{"PATH", "C:\\a b\\"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        CScriptedApp app;
        app.script = {{kQuit, 0}};
        app.initResult = [] { return 1400; };
        EXPECT_EQ(app.Run(kTitle, c.commandLine, 0, ""), 1400);
        EXPECT_EQ(app.parameters, c.expected);
        EXPECT_EQ(app.calls, kStartOnly);   // no loop
    }
    EXPECT_TRUE(routes.Boxes().empty());
}

// In a handler an exception costs one message and one report, and a run that goes on to end
// with 0 ends with the failure instead; ending start-up, it is the result of the run. Never 0,
// which scripts would read as success. Unattended, the report is a trace line, never a box.
TEST_F(AppBaseTest, EveryExceptionGivesOneReportAndItsFailureBecomesTheResult)
{
    const std::function<void()> codeZero = [] { throw CStructException("TEST", 0, "Nothing to say."); };
    const std::function<void()> foreign = [] { throw std::runtime_error("not one of ours"); };
    const int accessViolation = static_cast<int>(EXCEPTION_ACCESS_VIOLATION);
    const struct {
        const char* name;
        bool inHandler;
        std::function<void()> fault;
        int result;
        std::string text;
        UINT type;
    } cases[] = {
        {"CStructException in a handler", true, RaiseAccessDenied, 5, AccessDeniedReport(), kStructuredBox},
        {"foreign exception in a handler", true, foreign, ERROR_INTERNAL_ERROR, "Unknown exception", kUnknownBox},
        {"hardware fault in a handler", true, WriteThroughNull, accessViolation, kAccessViolationReport, kStructuredBox},
        {"CStructException at start-up", false, RaiseAccessDenied, 5, AccessDeniedReport(), kStructuredBox},
        {"code 0 at start-up", false, codeZero, ERROR_INTERNAL_ERROR,
         "TEST ERROR:\nUnhandled exception\nNothing to say.", kStructuredBox},
        {"foreign exception at start-up", false, foreign, ERROR_INTERNAL_ERROR, "Unknown exception", kUnknownBox},
        {"hardware fault at start-up", false, WriteThroughNull, accessViolation, kAccessViolationReport, kStructuredBox},
    };
    for (const bool unattended : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (unattended ? ", unattended" : ""));
            RecordingRoutes caseRoutes;
            g_marks.clear();
            g_fault = c.fault;
            SetSeTranslator(nullptr);   // Run must install it itself
            CScriptedApp app;
            app.unattended = unattended;
            if (c.inHandler)
                app.script = {{kFail, 0}, {kMark, 1}, {kQuit, 0}};
            else
                app.initResult = [] { g_fault(); return 0; };
            EXPECT_EQ(app.Run(kTitle, "", 0, ""), c.result);
            EXPECT_FALSE(IsUnattended());   // the run's own mode went with it
            EXPECT_EQ(app.calls, c.inHandler ? kStartAndLoop : kStartOnly);
            EXPECT_EQ(g_marks, c.inHandler ? std::vector<WPARAM>{1} : std::vector<WPARAM>{});
            if (unattended) {
                EXPECT_TRUE(caseRoutes.Boxes().empty());
                EXPECT_EQ(caseRoutes.Traces(), std::vector<std::string>{std::string(kTitle) + ": " + c.text + "\n"});
                continue;
            }
            ASSERT_EQ(caseRoutes.Boxes().size(), 1u);
            EXPECT_EQ(caseRoutes.Boxes()[0].text, c.text);
            EXPECT_EQ(caseRoutes.Boxes()[0].caption, kTitle);
            EXPECT_EQ(caseRoutes.Boxes()[0].type, c.type);
            EXPECT_EQ(caseRoutes.Boxes()[0].owner, nullptr);
        }
}

// A message sent to us from another thread is handled inside GetMessageA. Its handler's
// exception is reported once, right after that call: before the message that follows is
// dispatched, and also when what follows is the quit.
TEST_F(AppBaseTest, AnExceptionOfASentMessageIsReportedOnceBeforeWhatFollows)
{
    g_fault = RaiseAccessDenied;
    for (const bool quitFollows : {false, true}) {
        SCOPED_TRACE(quitFollows ? "the quit follows" : "a message follows");
        RecordingRoutes caseRoutes;
        g_routes = &caseRoutes;
        g_marks.clear();
        CScriptedApp app;
        const DWORD loopThread = GetCurrentThreadId();
        std::thread sender;
        app.initResult = [&] {
            sender = std::thread([&, window = app.window] {
                SendMessageA(window, kFail, 0, 0);
                if (!quitFollows)
                    PostMessageA(window, kCountBoxes, 0, 0);
                PostThreadMessageA(loopThread, WM_QUIT, 9, 0);
            });
            return 0;
        };
        EXPECT_EQ(app.Run(kTitle, "", 0, ""), 9);
        sender.join();
        EXPECT_EQ(caseRoutes.Boxes().size(), 1u);
        EXPECT_EQ(g_marks, quitFollows ? std::vector<WPARAM>{} : std::vector<WPARAM>{1});
    }
}

// A window that posted its quit before a failure was reported must not close the report: it
// stays until someone dismisses it, and the run ends with the failure's code.
TEST_F(AppBaseTest, AReportStaysOnScreenUntilDismissedThoughAQuitWaits)
{
    const MessageBoxRoute recording = SetMessageBoxRoute(nullptr);   // the real box
    std::atomic<bool> stayed{false};
    std::thread watcher([&] {
        // A box can be found before it is shown, on a slow machine long before: its stay is
        // timed from when it is on screen.
        HWND box = nullptr;
        for (int i = 0; i < 1000 && !(box && IsWindowVisible(box)); ++i, Sleep(10))
            box = FindWindowA("#32770", kTitle);
        if (box && IsWindowVisible(box)) {
            Sleep(300);
            stayed = IsWindowVisible(box) != FALSE;
        }
        if (box)
            PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    CScriptedApp app;
    app.initResult = []() -> int {
        PostQuitMessage(3);
        RaiseAccessDenied();
    };
    EXPECT_EQ(app.Run(kTitle, "", 0, ""), ERROR_ACCESS_DENIED);
    watcher.join();
    SetMessageBoxRoute(recording);
    EXPECT_TRUE(stayed);
}

// The in-process second object keeps a handle to the host's mutex: only its destruction lets
// the last run through.
TEST_F(AppBaseTest, SecondInstanceReturns183WithoutStartingUntilTheFirstAndItsHandlesAreGone)
{
    const std::string name = "VortagAppBaseTest." + std::to_string(GetCurrentProcessId());
    {
        HostProcess host(name);
        const HWND hostWindow = host.WaitForWindow();
        ASSERT_NE(hostWindow, nullptr);

        CScriptedApp second;
        EXPECT_EQ(second.Run(kTitle, "/a|/b", 1, name.c_str()), ERROR_ALREADY_EXISTS);
        EXPECT_TRUE(second.calls.empty());
        CScriptedApp unchecked;   // without the flag the mutex is not looked at
        unchecked.initResult = [] { return 2; };
        EXPECT_EQ(unchecked.Run(kTitle, "", 0, name.c_str()), 2);

        PostMessageA(hostWindow, WM_APP, 7, 0);
        EXPECT_EQ(host.WaitForExit(), 7u);   // the host's quit value is its exit code
    }
    CScriptedApp afterwards;
    afterwards.initResult = [] { return 1; };
    EXPECT_EQ(afterwards.Run(kTitle, "", 1, name.c_str()), 1);
    EXPECT_EQ(afterwards.calls, kStartOnly);
    EXPECT_TRUE(routes.Boxes().empty());
}

// A mutex that another account made, and that this one may not open, is another copy running.
TEST_F(AppBaseTest, AMutexThatMayNotBeOpenedCountsAsAnotherCopy)
{
    const std::string name = "VortagAppBaseTest.Denied." + std::to_string(GetCurrentProcessId());
    PSECURITY_DESCRIPTOR noAccess = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P", SDDL_REVISION_1, &noAccess, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, noAccess, FALSE};
    const COwnedHandle held(CreateMutexA(&attributes, FALSE, name.c_str()));
    LocalFree(noAccess);
    ASSERT_TRUE(held);
    ASSERT_EQ(CreateMutexA(nullptr, FALSE, name.c_str()), nullptr);   // what a second copy gets
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    CScriptedApp second;
    second.script = {{kQuit, 0}};   // a run that went on would end here
    EXPECT_EQ(second.Run(kTitle, "", 1, name.c_str()), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(second.calls.empty());
}
