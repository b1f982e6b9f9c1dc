#include "foundation/StructException.h"

#include "tests/support/RecordingRoutes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char kAccessViolationText[] =
    "The thread tried to read from or write to a virtual address for which it does not have "
    "the appropriate access.";

CWin32Exception Win32ExceptionFor(DWORD code)
{
    EXCEPTION_RECORD record{};
    record.ExceptionCode = code;
    CONTEXT context{};
    EXCEPTION_POINTERS pointers{&record, &context};
    return CWin32Exception(&pointers);
}

std::string SystemText(DWORD code)
{
    char* buffer = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, code, 0x400, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = buffer ? buffer : "";
    LocalFree(buffer);
    return text;
}

}  // namespace

TEST(StructException, DefaultObjectHasNoCodeSourceOrDescription)
{
    const CStructException e;
    EXPECT_EQ(e.code, 0);
    EXPECT_STREQ(e.source.data, "");
    EXPECT_STREQ(e.message.data, "");
    EXPECT_STREQ(e.what(), "Unknown exception");
    EXPECT_STREQ(e.DescribeCode(5).data, "");
    EXPECT_EQ(std::string(e.GetReport().data), " ERROR:\nUnknown exception");
}

TEST(StructException, ContextLinesStackNewestFirst)
{
    CStructException e("SYSTEM", 2, "description");
    EXPECT_EQ(&e.AddContext(nullptr), &e);
    EXPECT_STREQ(e.GetMessage().data, "");
    e.AddContext("a").AddContext("%s %d", "b", 7);
    EXPECT_STREQ(e.GetMessage().data, "b 7\na\n");
}

TEST(StructException, ReportWithACodeHasTheCodeLineAfterAnEmptyLine)
{
    CWin32Exception e = Win32ExceptionFor(EXCEPTION_ACCESS_VIOLATION);
    e.AddContext("Unhandled exception");
    EXPECT_EQ(std::string(e.GetReport().data),
              std::string("WIN32 ERROR:\nUnhandled exception\n\nCode: -1073741819 (0xC0000005)\n") +
                  kAccessViolationText);
    EXPECT_EQ(e.code, static_cast<int>(0xC0000005));
    EXPECT_STREQ(e.source.data, "WIN32");
}

TEST(StructException, ReportWithoutACodeEndsWithTheDescription)
{
    CSystemException e(0);
    EXPECT_STREQ(e.what(), "");
    e.AddContext("DLL: %s", "Library is not loaded.");
    EXPECT_EQ(std::string(e.GetReport().data), "SYSTEM ERROR:\nDLL: Library is not loaded.\n");
}

TEST(StructException, Win32CodesOutsideTheTableAreUnknow)
{
    EXPECT_STREQ(Win32ExceptionFor(0x80000001).what(), "Unknow");
    EXPECT_STREQ(Win32ExceptionFor(EXCEPTION_INT_DIVIDE_BY_ZERO).what(),
                 "The thread tried to divide an integer value by an integer divisor of zero.");
    EXPECT_STREQ(Win32ExceptionFor(EXCEPTION_STACK_OVERFLOW).what(), "The thread used up its stack.");
    EXPECT_STREQ(Win32ExceptionFor(EXCEPTION_BREAKPOINT).DescribeCode(EXCEPTION_SINGLE_STEP).data,
                 "A trace trap or other single-instruction mechanism signaled that one instruction has been executed.");
}

TEST(StructException, SystemErrorIsThrownAsACopyThatKeepsEverything)
{
    try {
        RaiseSystemError(ERROR_ACCESS_DENIED, "Registry: %s", "Opening key. ");
        FAIL() << "nothing thrown";
    } catch (CStructException& e) {
        EXPECT_EQ(typeid(e), typeid(CStructException));
        EXPECT_EQ(e.code, 5);
        EXPECT_STREQ(e.source.data, "SYSTEM");
        EXPECT_STREQ(e.GetMessage().data, "Registry: Opening key. \n");
        ASSERT_FALSE(SystemText(5).empty());
        EXPECT_EQ(std::string(e.what()), SystemText(5));
        e.AddContext("Unhandled exception");
        EXPECT_EQ(std::string(e.GetReport().data),
                  "SYSTEM ERROR:\nUnhandled exception\nRegistry: Opening key. \n\nCode: 5 (0x00000005)\n" + SystemText(5));
    }
}

TEST(StructException, CopiesAndAssignmentsCarryAllFields)
{
    CSystemException original(ERROR_FILE_NOT_FOUND);
    original.AddContext("context");
    CStructException assigned;
    assigned = original;
    const CStructException copied(original);
    for (const CStructException* e : {static_cast<const CStructException*>(&assigned), &copied}) {
        EXPECT_EQ(e->code, 2);
        EXPECT_STREQ(e->source.data, "SYSTEM");
        EXPECT_STREQ(e->message.data, "context\n");
        EXPECT_EQ(std::string(e->what()), SystemText(2));
    }
}

TEST(StructException, ShowReportShowsOneTopmostErrorBoxWithTheTitle)
{
    RecordingRoutes routes;
    CSystemException e(ERROR_ACCESS_DENIED);
    e.AddContext("Unhandled exception").ShowReport("Nimbra VORTAG");
    ASSERT_EQ(routes.Boxes().size(), 1u);
    const RecordedBox& box = routes.Boxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Nimbra VORTAG");
    EXPECT_EQ(box.type, 0x240010u);
    EXPECT_EQ(box.text, std::string(e.GetReport().data));
}

TEST(Trace, LinesEndInALineBreak)
{
    RecordingRoutes routes;
    TraceLine("plain");
    TraceFormat("System windows directory retrieved %s", "C:\\windows");
    ASSERT_EQ(routes.Traces().size(), 2u);
    EXPECT_EQ(routes.Traces()[0], "plain\n");
    EXPECT_EQ(routes.Traces()[1], "System windows directory retrieved C:\\windows\n");
}
