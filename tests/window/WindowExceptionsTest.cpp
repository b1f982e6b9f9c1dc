// Exceptions of handlers travel over the system's frames and come out on our side.

#include "foundation/SeTranslator.h"
#include "foundation/StructException.h"
#include "tests/support/RecordingRoutes.h"
#include "tests/window/TestWindows.h"
#include "window/WndMap.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class Failure { Ours, Foreign, Fault };

volatile int* volatile g_nowhere = nullptr;

void Fail(Failure failure)
{
    switch (failure) {
    case Failure::Ours:
        throw CStructException("TEST", 77, "thrown by a handler");
    case Failure::Foreign:
        throw std::runtime_error("foreign");
    case Failure::Fault:
        *g_nowhere = 1;
    }
}

// WM_USER fails as its wParam says; WM_USER + 1 is counted.
class CFailingWnd : public CTestWnd {
public:
    CFailingWnd() : CTestWnd("VortagTestFailing") {}
    LRESULT OnCreate(CREATESTRUCTA*) override
    {
        if (failCreate)
            Fail(Failure::Ours);
        return 0;
    }
    LRESULT OnUserMessage() override
    {
        if (currentMessage.message == WM_USER)
            Fail(static_cast<Failure>(currentMessage.wParam));
        ++counted;
        return 5;
    }
    bool failCreate = false;
    int counted = 0;
};

class CFailingDlg : public CTestDlg {
public:
    BOOL OnInitDialog() override { Fail(Failure::Ours); return 1; }
};

struct FailureCase {
    Failure failure;
    int code;   // what the loop sees: the exception's code, 0 for a foreign exception
    const char* name;
};

void PrintTo(const FailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class WindowExceptions : public ::testing::TestWithParam<FailureCase> {
protected:
    void SetUp() override { m_previous = SetSeTranslator(TranslateStructuredException); }
    void TearDown() override { SetSeTranslator(m_previous); }

private:
    SeTranslatorFunction m_previous = nullptr;
};

int CodeOf(std::exception_ptr caught)
{
    try {
        std::rethrow_exception(caught);
    } catch (const CStructException& e) {
        return e.code;
    } catch (...) {
        return 0;
    }
}

}  // namespace

TEST_P(WindowExceptions, AHandlersExceptionCostsExactlyItsMessage)
{
    CFailingWnd window;
    ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
    const WPARAM failure = static_cast<WPARAM>(GetParam().failure);

    // Sent within a call of ours: the system gets 0, and the exception comes out of that call.
    EXPECT_ANY_THROW(CallCarrying([&] {
        EXPECT_EQ(SendMessageA(window.handle, WM_USER, failure, 0), 0);
        return 0;
    }));
    // Sent from outside any call of ours, nobody could take it back: it is reported at once and
    // does not come out of the next call either.
    RecordingRoutes routes;
    EXPECT_EQ(SendMessageA(window.handle, WM_USER, failure, 0), 0);
    EXPECT_EQ(routes.Boxes().size(), 1u);
    EXPECT_NO_THROW(window.SetWindowTextFormat("%s", "after"));

    // Posted: the loop sees it once, right after the dispatch, and goes on.
    PostMessageA(window.handle, WM_USER + 1, 0, 0);
    PostMessageA(window.handle, WM_USER, failure, 0);
    PostMessageA(window.handle, WM_USER + 1, 0, 0);
    PostQuitMessage(0);
    std::vector<int> caught;
    RunMessageLoop([&](std::exception_ptr e) { caught.push_back(CodeOf(e)); });

    EXPECT_EQ(caught, std::vector<int>{GetParam().code});
    EXPECT_EQ(window.counted, 2);
    EXPECT_EQ(routes.Boxes().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, WindowExceptions,
    ::testing::Values(FailureCase{Failure::Ours, 77, "StructException"},
                      FailureCase{Failure::Foreign, 0, "ForeignException"},
                      FailureCase{Failure::Fault, static_cast<int>(EXCEPTION_ACCESS_VIOLATION), "HardwareFault"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// Creation that a handler broke leaves nothing behind: no window, no entry, no handle.
TEST(WindowExceptionsAtCreation, OnCreateThrowsOutOfCreate)
{
    const uint32_t entries = g_wndMap.GetCount();
    CFailingWnd window;
    window.failCreate = true;
    EXPECT_THROW(window.Create(nullptr, nullptr), CStructException);
    EXPECT_EQ(window.handle, nullptr);
    EXPECT_EQ(FindWindowA("VortagTestFailing", nullptr), nullptr);
    EXPECT_EQ(g_wndMap.GetCount(), entries);
}

TEST(WindowExceptionsAtCreation, OnInitDialogThrowsOutOfShowModeless)
{
    const uint32_t entries = g_wndMap.GetCount();
    CFailingDlg dialog;
    EXPECT_THROW(dialog.ShowModeless(nullptr, 0), CStructException);
    EXPECT_EQ(dialog.handle, nullptr);
    EXPECT_EQ(g_wndMap.GetCount(), entries);
}
