#include "tests/support/LockCheck.h"

#include "tools/driver/DriverError.h"

#include <cstdlib>
#include <sstream>

namespace {

// Set by ctest for each test: its locks, separated by commas, or "none".
const char kLocksVariable[] = "VORTAG_LOCKS";
// Set by LockCheck while it watches a test: the name of the block that the test's shows go to.
const char kWatchVariable[] = "VORTAG_SHOW_WATCH";

const char kWhatToDo[] = "add the test to a row of vortag_lock_tests for its program (tests/<folder>/CMakeLists.txt)";

}  // namespace

bool LacksLock(const std::string& resource)
{
    const char* locks = std::getenv(kLocksVariable);
    return locks && ("," + std::string(locks) + ",").find("," + resource + ",") == std::string::npos;
}

void ExpectLocks(const std::string& resources)
{
    std::istringstream words(resources);
    for (std::string resource; words >> resource;)
        if (LacksLock(resource))
            ADD_FAILURE() << "this test uses '" << resource << "' but ctest runs it without that lock, beside "
                          << "tests that use it too: " << kWhatToDo;
}

void LockCheck::OnTestStart(const testing::TestInfo&)
{
    if (!LacksLock("display"))
        return;
    static int watches = 0;
    const std::string block = e2e::Format("vortag_show_watch_%lu_%d", GetCurrentProcessId(), ++watches);
    try {
        m_shows = std::make_unique<e2e::ShowRecorder>(
            e2e::ShowHook{block.c_str(), "show_watch_hook.dll", "WatchShownWindow", WH_CALLWNDPROCRET});
    } catch (const e2e::DriverError& error) {
        ADD_FAILURE() << "the check that this test shows no window could not start: " << error.what();
        return;
    }
    SetEnvironmentVariableA(kWatchVariable, block.c_str());
}

void LockCheck::OnTestEnd(const testing::TestInfo&)
{
    if (!m_shows)
        return;
    SetEnvironmentVariableA(kWatchVariable, nullptr);
    try {
        const std::string shown = e2e::Describe(m_shows->ShownBy(0));
        if (!shown.empty())
            ADD_FAILURE() << "this test shows windows but ctest runs it without the lock 'display', beside tests "
                          << "that show windows, type keys or read the screen: " << kWhatToDo
                          << ". It showed:" << shown;
    } catch (const e2e::DriverError& error) {
        ADD_FAILURE() << error.what();
    }
    m_shows.reset();
}
