#include "foundation/SeTranslator.h"

#include "foundation/StructException.h"

#include <gtest/gtest.h>

#include <malloc.h>

namespace {

// Translation switched on for the test's thread, and off again afterwards.
class TranslatedFaults : public ::testing::Test {
protected:
    void SetUp() override { m_previous = SetSeTranslator(TranslateStructuredException); }
    void TearDown() override { SetSeTranslator(m_previous); }

private:
    SeTranslatorFunction m_previous = nullptr;
};

DWORD WINAPI InstallAndEnd(void*)
{
    SetSeTranslator(TranslateStructuredException);
    return 0;
}

// Bytes the C runtime's heap holds in use now.
size_t HeapInUse()
{
    _HEAPINFO entry{};
    size_t used = 0;
    while (_heapwalk(&entry) == _HEAPOK)
        if (entry._useflag == _USEDENTRY)
            used += entry._size;
    return used;
}

void RunThreads(int count, LPTHREAD_START_ROUTINE body)
{
    for (int i = 0; i < count; ++i) {
        const HANDLE thread = CreateThread(nullptr, 0, body, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    }
}

DWORD WINAPI SwitchOffAndReport(void* seen)
{
    *static_cast<SeTranslatorFunction*>(seen) = SetSeTranslator(nullptr);
    return 0;
}

struct SetsFlagOnDestruction {
    bool* flag;
    ~SetsFlagOnDestruction() { *flag = true; }
};

volatile int* volatile g_nowhere = nullptr;
volatile int g_zero = 0;
volatile int g_quotient = 0;

__attribute__((noinline)) int WriteThroughNull(bool* destroyed)
{
    SetsFlagOnDestruction guard{destroyed};
    *g_nowhere = 1;
    return 1;
}

// No frame of its own: it faults with the stack as the call left it, which on x64 is not
// aligned for a further call.
__attribute__((noinline)) void WriteThroughNullFromLeaf()
{
    *g_nowhere = 2;
}

__attribute__((noinline)) int DivideByZero(bool* destroyed)
{
    SetsFlagOnDestruction guard{destroyed};
    g_quotient = 100 / g_zero;
    return g_quotient;
}

// Memory that is not the thread's stack, for a stack pointer that has gone astray.
alignas(16) char g_foreignStack[512 * 1024];

// Faults with the stack pointer at the top of g_foreignStack, as a corrupted one would.
__attribute__((noinline)) void WriteThroughNullOnAForeignStack()
{
    void* const top = g_foreignStack + sizeof g_foreignStack;
#if defined(__x86_64__)
    asm volatile("movq %%rsp, %%r12\n\tmovq %0, %%rsp\n\tmovl $4, (%1)\n\tmovq %%r12, %%rsp"
                 : : "r"(top), "r"(g_nowhere) : "r12", "memory");
#else
    asm volatile("movl %%esp, %%esi\n\tmovl %0, %%esp\n\tmovl $4, (%1)\n\tmovl %%esi, %%esp"
                 : : "r"(top), "r"(g_nowhere) : "esi", "memory");
#endif
}

// A translator that faults itself, as building an exception in a corrupted heap can.
[[noreturn]] void FaultingTranslator(unsigned int, EXCEPTION_POINTERS*)
{
    *g_nowhere = 3;
    throw CStructException("TEST", 1, "unreachable");
}

}  // namespace

TEST_F(TranslatedFaults, AccessViolationArrivesAsWin32ExceptionAndUnwindsTheFaultingFrame)
{
    bool destroyed = false;
    try {
        WriteThroughNull(&destroyed);
        FAIL() << "no fault";
    } catch (const CWin32Exception& e) {
        EXPECT_EQ(static_cast<DWORD>(e.code), EXCEPTION_ACCESS_VIOLATION);
        EXPECT_STREQ(e.source.data, "WIN32");
        EXPECT_STREQ(e.what(), CWin32Exception::Describe(EXCEPTION_ACCESS_VIOLATION).data);
    }
    EXPECT_TRUE(destroyed);
}

TEST_F(TranslatedFaults, FaultInALeafWithoutAFrameArrivesWithItsCode)
{
    bool destroyed = false;
    try {
        SetsFlagOnDestruction guard{&destroyed};
        WriteThroughNullFromLeaf();
        FAIL() << "no fault";
    } catch (const CWin32Exception& e) {
        EXPECT_EQ(static_cast<DWORD>(e.code), EXCEPTION_ACCESS_VIOLATION);
    }
    EXPECT_TRUE(destroyed);
}

TEST_F(TranslatedFaults, IntegerDivisionByZeroArrivesAsWin32Exception)
{
    bool destroyed = false;
    try {
        DivideByZero(&destroyed);
        FAIL() << "no fault";
    } catch (const CStructException& e) {
        EXPECT_EQ(static_cast<DWORD>(e.code), EXCEPTION_INT_DIVIDE_BY_ZERO);
        EXPECT_STREQ(e.what(), "The thread tried to divide an integer value by an integer divisor of zero.");
    }
    EXPECT_TRUE(destroyed);
}

TEST_F(TranslatedFaults, RepeatedFaultsEachArriveAndTheThreadGoesOn)
{
    int caught = 0;
    for (int i = 0; i < 50; ++i) {
        bool destroyed = false;
        try {
            i % 2 ? DivideByZero(&destroyed) : WriteThroughNull(&destroyed);
        } catch (const CWin32Exception&) {
            caught += destroyed ? 1 : 0;
        }
    }
    EXPECT_EQ(caught, 50);
}

// A fault while a fault is translated is not translated again: the process ends with that
// fault's code instead of recursing until the stack is gone.
TEST(SeTranslatorDeathTest, AFaultInsideTheTranslationEndsTheProcessWithItsCode)
{
    EXPECT_EXIT(
        {
            SetSeTranslator(FaultingTranslator);
            bool destroyed = false;
            WriteThroughNull(&destroyed);
        },
        ::testing::ExitedWithCode(static_cast<int>(EXCEPTION_ACCESS_VIOLATION)), "");
}

// Nor is a fault whose stack pointer lies outside the thread's stack: the translation would
// write there. The process ends with the fault's code.
TEST(SeTranslatorDeathTest, AFaultOnAForeignStackEndsTheProcessWithItsCode)
{
    EXPECT_EXIT(
        {
            SetSeTranslator(TranslateStructuredException);
            try {
                WriteThroughNullOnAForeignStack();
            } catch (...) {
            }
            ExitProcess(1);
        },
        ::testing::ExitedWithCode(static_cast<int>(EXCEPTION_ACCESS_VIOLATION)), "");
}

// What a thread needs for its translator goes with the thread.
TEST(SeTranslator, ThreadsThatInstalledOneLeaveNothingBehind)
{
    const int threads = 100;
    RunThreads(1, InstallAndEnd);   // whatever the first thread sets up once
    const size_t before = HeapInUse();
    RunThreads(threads, InstallAndEnd);
    const size_t after = HeapInUse();
    EXPECT_LT(after, before + threads * sizeof(CONTEXT) / 4) << before << " bytes before, " << after << " after";
}

TEST(SeTranslator, IsPerThreadAndReturnsThePreviousOne)
{
    EXPECT_EQ(SetSeTranslator(TranslateStructuredException), nullptr);
    SeTranslatorFunction seenOnOtherThread = TranslateStructuredException;
    HANDLE thread = CreateThread(nullptr, 0, SwitchOffAndReport, &seenOnOtherThread, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(seenOnOtherThread, nullptr);
    EXPECT_EQ(SetSeTranslator(nullptr), TranslateStructuredException);
}
