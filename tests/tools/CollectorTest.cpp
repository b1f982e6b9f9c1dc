#include "tools/driver/Clock.h"
#include "tools/driver/Files.h"
#include "tools/driver/Process.h"
#include "tools/driver/ShowRecorder.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

namespace {

class CollectorTest : public ::testing::Test {
protected:
    const e2e::ScratchFolder folder;
    const std::string collector = folder.CopyIn(e2e::BesideProgram("Brevast.exe"));
    const std::string log = folder.PathOf("Brevast.log");

    bool LogBecomes(const std::string& expected) const
    {
        return e2e::PollUntil(e2e::kDefaultTimeoutMs, [&] { return e2e::ReadWholeFile(log) == expected; });
    }
};

}  // namespace

TEST_F(CollectorTest, OpenedThroughTheShellItLogsTheParameters)
{
    const HINSTANCE result = ShellExecuteA(nullptr, "open", collector.c_str(), "/DELFLAGS", nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    EXPECT_TRUE(LogBecomes("/DELFLAGS\r\n")) << e2e::ReadWholeFile(log);
}

TEST_F(CollectorTest, EachRunAppendsALineBesideItselfShowsNothingAndEndsWithZero)
{
    e2e::StartOptions options;
    options.folder = e2e::ProgramFolder();   // not the collector's: the log goes beside the program
    const e2e::ShowRecorder shows;
    for (const char* arguments : {"/DELFLAGS", " a  \"b c\" "}) {
        options.arguments = arguments;
        e2e::Process run(collector, options);
        EXPECT_EQ(run.WaitForExit(), 0u);
        EXPECT_EQ(e2e::Describe(shows.ShownBy(run.Id())), "");
    }
    EXPECT_EQ(e2e::ReadWholeFile(log), "/DELFLAGS\r\na  \"b c\" \r\n");
}
