#pragma once
// Whether a test holds the locks of what it uses. Tests run side by side, and ctest keeps apart
// only the tests that name the same resource (vortag_lock_tests, tests/CMakeLists.txt); a test
// that uses a resource without naming it runs beside the tests that do, and the suite turns
// flaky without an error. So ctest tells each test the locks it got (VORTAG_LOCKS), and
//   - a test that shows a top-level window, itself or through any program it starts, fails
//     unless it holds `display` (LockCheck, the listener that every test program installs);
//   - code that uses a resource for its tests says so with ExpectLocks (the tool's fixture).
// Outside ctest (a test program started by hand) nothing is checked.

#include "tools/driver/ShowRecorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// True when ctest runs the current test without the lock `resource`.
bool LacksLock(const std::string& resource);

// Fails the current test for each of `resources` (separated by blanks) that ctest runs it without.
void ExpectLocks(const std::string& resources);

// Watches each test that runs without `display` for windows shown by its program or by the
// programs started from it, and fails the test when there was any. The hook (ShowWatchHook.cpp)
// runs in every process of the desktop and records a show in the block that the showing process's
// environment names: programs inherit the variable, so a show counts for the test that started
// them, whichever tests run beside it.
class LockCheck : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo& test) override;
    void OnTestEnd(const testing::TestInfo& test) override;

private:
    std::unique_ptr<e2e::ShowRecorder> m_shows;
};
