// The window map on its own, and windows bound to their objects through it.

#include "foundation/SeTranslator.h"
#include "foundation/StructException.h"
#include "tests/window/TestWindows.h"
#include "window/WndMap.h"
#include "window/WndProcs.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// Counts what reaches it and can refuse its creation.
class CCountingWnd : public CTestWnd {
public:
    using CTestWnd::CTestWnd;
    LRESULT OnCreate(CREATESTRUCTA*) override { ++creates; return createResult; }
    LRESULT OnUserMessage() override { return ++userMessages; }
    LRESULT OnNcDestroy() override
    {
        boundAtNcDestroy = g_wndMap.FindByHandle(currentMessage.hwnd) != nullptr;
        SetLastError(lastErrorAtNcDestroy);
        return 0;
    }
    LRESULT createResult = 0;
    DWORD lastErrorAtNcDestroy = 0;
    int creates = 0;
    int userMessages = 0;
    bool boundAtNcDestroy = true;
};

CWndHandle* ObjectOf(HWND hwnd)
{
    const WndMapEntry* entry = g_wndMap.FindByHandle(hwnd);
    return entry ? entry->object : nullptr;
}

}  // namespace

TEST(WndMap, FindsThePendingEntryOfTheCallingThreadOnly)
{
    CWndMap map;
    CWndHandle mine, newest, foreign;
    const DWORD me = GetCurrentThreadId();
    map.Add({&mine, me});
    map.Add({&newest, me});
    map.Add({&foreign, me + 1});
    ASSERT_NE(map.FindPending(), nullptr);
    EXPECT_EQ(map.FindPending()->object, &newest);

    const WndMapEntry* seenElsewhere = map.FindPending();
    std::thread([&] { seenElsewhere = map.FindPending(); }).join();
    EXPECT_EQ(seenElsewhere, nullptr);
}

TEST(WndMap, RemovalsOfNothingChangeNothingAndNullFindsTheFirstUnboundEntry)
{
    CWndMap map;
    CWndHandle bound, unbound;
    bound.handle = GetDesktopWindow();
    map.Add({&bound, GetCurrentThreadId()});
    map.Add({&unbound, GetCurrentThreadId()});
    map.RemoveByHandle(nullptr);
    map.RemoveObject(nullptr);
    EXPECT_EQ(map.GetCount(), 2u);
    ASSERT_NE(map.FindByHandle(nullptr), nullptr);
    EXPECT_EQ(map.FindByHandle(nullptr)->object, &unbound);

    map.RemoveByHandle(GetDesktopWindow());
    EXPECT_EQ(map.GetCount(), 1u);
    EXPECT_EQ(map.FindByHandle(GetDesktopWindow()), nullptr);
}

// A fault inside an operation ends it quietly and leaves the lock free for other threads.
TEST(WndMap, SwallowsAFaultInsideTheLockAndReleasesIt)
{
    CWndMap map;
    const SeTranslatorFunction previous = SetSeTranslator(TranslateStructuredException);
    map.Add({reinterpret_cast<CWndHandle*>(16), GetCurrentThreadId()});   // no object there
    EXPECT_EQ(map.FindByHandle(GetDesktopWindow()), nullptr);
    SetSeTranslator(previous);

    uint32_t countElsewhere = 0;
    std::thread([&] { countElsewhere = map.GetCount(); }).join();
    EXPECT_EQ(countElsewhere, 1u);
}

TEST(WindowBinding, WindowsCreatedInTurnFindTheirOwnObjectsAndShareTheirClass)
{
    CCountingWnd first("VortagTestShared"), second("VortagTestShared");
    ASSERT_EQ(first.Create(nullptr, nullptr), 0u);
    EXPECT_EQ(second.RegisterWndClass(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    ASSERT_EQ(second.Create(nullptr, nullptr), 0u);

    ASSERT_NE(first.handle, second.handle);
    EXPECT_EQ(ObjectOf(first.handle), &first);
    EXPECT_EQ(ObjectOf(second.handle), &second);
    SendMessageA(first.handle, WM_USER, 0, 0);
    EXPECT_EQ(first.userMessages, 1);
    EXPECT_EQ(second.userMessages, 0);
    EXPECT_EQ(first.creates + second.creates, 2);
}

TEST(WindowBinding, CreateOnAWindowThatExistsCreatesNothing)
{
    CCountingWnd window;
    ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
    const HWND hwnd = window.handle;
    const uint32_t entries = g_wndMap.GetCount();
    EXPECT_EQ(window.Create(nullptr, nullptr), 0u);
    EXPECT_EQ(window.handle, hwnd);
    EXPECT_EQ(window.creates, 1);
    EXPECT_EQ(g_wndMap.GetCount(), entries);
}

// The object is as before: no entry, no handle, and a later Create works.
TEST(WindowBinding, RefusedCreationLeavesTheObjectAndTheMapAsBefore)
{
    CCountingWnd other;
    ASSERT_EQ(other.Create(nullptr, nullptr), 0u);
    const uint32_t entries = g_wndMap.GetCount();

    CCountingWnd refused;
    refused.createResult = -1;
    refused.lastErrorAtNcDestroy = 0;   // the system may say nothing about the failure
    EXPECT_EQ(refused.Create(nullptr, nullptr), static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_EQ(refused.creates, 1);
    EXPECT_EQ(refused.handle, nullptr);
    EXPECT_EQ(g_wndMap.GetCount(), entries);
    EXPECT_EQ(ObjectOf(other.handle), &other);

    refused.createResult = 0;
    EXPECT_EQ(refused.Create(nullptr, nullptr), 0u);
    EXPECT_EQ(ObjectOf(refused.handle), &refused);
}

TEST(WindowBinding, AfterNcDestroyTheHandleFindsNothingAndMessagesGetZero)
{
    CCountingWnd window;
    ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
    const HWND hwnd = window.handle;
    const uint32_t entries = g_wndMap.GetCount();
    ASSERT_TRUE(DestroyWindow(hwnd));
    EXPECT_FALSE(window.boundAtNcDestroy);
    EXPECT_EQ(g_wndMap.GetCount(), entries - 1);
    EXPECT_EQ(window.handle, hwnd);   // stale until Destroy or the destructor
    EXPECT_EQ(RoutingProc(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(window.userMessages, 0);
}

TEST(WindowBinding, AWindowGoesWithItsObjectSoNoMessageCanReachTheObjectAfter)
{
    const uint32_t entries = g_wndMap.GetCount();
    HWND hwnd = nullptr;
    {
        CCountingWnd window;
        ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
        hwnd = window.handle;
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(g_wndMap.GetCount(), entries);
}

// A window of a framework class that nobody registered in the map is refused.
TEST(WindowBinding, AFrameworkClassWindowMadeBehindTheFrameworkIsRefused)
{
    ASSERT_EQ(g_wndMap.FindPending(), nullptr);
    CCountingWnd registered("VortagTestBehind");
    const DWORD registration = registered.RegisterWndClass();
    ASSERT_TRUE(registration == 0 || registration == ERROR_CLASS_ALREADY_EXISTS) << registration;
    const HWND hwnd = CreateWindowExA(0, "VortagTestBehind", "", 0, 0, 0, 10, 10, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(hwnd, nullptr);
    EXPECT_EQ(registered.creates, 0);
}

TEST(WndHandle, OperationsWithoutAWindowDoNothing)
{
    CWndHandle object;
    EXPECT_EQ(object.Destroy(), 1);
    EXPECT_EQ(object.handle, nullptr);
    EXPECT_EQ(object.Update(), 0);
    EXPECT_EQ(object.Show(SW_SHOW), 0);
    EXPECT_EQ(object.GetItem(1), nullptr);
    EXPECT_EQ(object.SetIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), ICON_BIG), 0);
    EXPECT_EQ(object.SetWindowTextFormat("%d", 1), 0);
    EXPECT_EQ(object.SetDlgItemTextFormat(1, "%d", 1), 0);

    CCountingWnd stale;
    ASSERT_EQ(stale.Create(nullptr, nullptr), 0u);
    ASSERT_TRUE(DestroyWindow(stale.handle));
    stale.instance = nullptr;
    EXPECT_EQ(stale.Destroy(), 1);
    EXPECT_EQ(stale.handle, nullptr);
    EXPECT_EQ(stale.instance, GetModuleHandleA(nullptr));
}

TEST(WndHandle, ShowAnswersWhetherTheWindowWasVisible)
{
    CCountingWnd window;
    ASSERT_EQ(window.Create(nullptr, nullptr), 0u);
    EXPECT_EQ(window.Show(SW_SHOW), 0);
    EXPECT_TRUE(IsWindowVisible(window.handle));
    EXPECT_EQ(window.Show(SW_SHOW), 1);
    EXPECT_EQ(window.Update(), 1);
    const HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));
    window.SetIcon(icon, ICON_BIG);
    EXPECT_EQ(SendMessageA(window.handle, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(icon));
    EXPECT_EQ(window.SetWindowTextFormat("%d%% of %s", 50, "it"), 1);
    char title[32] = {};
    GetWindowTextA(window.handle, title, sizeof title);
    EXPECT_STREQ(title, "50% of it");
    EXPECT_EQ(window.Destroy(), 1);
    EXPECT_EQ(window.handle, nullptr);
}
