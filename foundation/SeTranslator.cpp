#include "foundation/SeTranslator.h"

#include <exception>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

DWORD g_stateSlot = TLS_OUT_OF_INDEXES;
INIT_ONCE g_installOnce = INIT_ONCE_STATIC_INIT;

// What one thread needs to raise a translated fault: the translator and a copy of the
// fault, taken by the vectored handler and read by the redirected thread. Made when a thread
// first installs a translator, kept in a TLS slot, freed as the thread ends.
struct ThreadFaultState {
    SeTranslatorFunction translator = nullptr;
    EXCEPTION_RECORD record{};
    CONTEXT context{};
    // Set from the redirect until the translated exception leaves the translation: a fault
    // in between (building the exception in a corrupted heap, a faulty translator) is left to
    // the system, which ends the process with its code, instead of being translated again
    // and again until the stack is gone.
    bool translating = false;
};

ThreadFaultState* CurrentState()
{
    if (g_stateSlot == TLS_OUT_OF_INDEXES)
        return nullptr;
    return static_cast<ThreadFaultState*>(TlsGetValue(g_stateSlot));
}

bool IsHardwareFault(DWORD code)
{
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
        return true;
    default:
        // Stack overflow is not among them: there is no stack left to throw on.
        return false;
    }
}

bool IsInOurModule(const void* address)
{
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module) &&
           module == reinterpret_cast<HMODULE>(&__ImageBase);
}

// Calls the thread's translator for the fault it recorded. Entered (through the entry below)
// in place of the faulting instruction, as if called from it.
[[noreturn]] void RaiseTranslatedFault()
{
    ThreadFaultState* state = CurrentState();
    struct TranslationEnd {
        ThreadFaultState* state;
        ~TranslationEnd() { state->translating = false; }   // runs as the exception leaves
    } end{state};
    EXCEPTION_POINTERS pointers{&state->record, &state->context};
    state->translator(state->record.ExceptionCode, &pointers);
    std::terminate();   // a translator that returns leaves nothing sensible to resume
}

#if defined(__i386__)
// The stack may have any alignment at the faulting instruction; this entry realigns it.
[[noreturn]] __attribute__((force_align_arg_pointer, noinline)) void EnterTranslatedFault()
{
    RaiseTranslatedFault();
}
#endif

}  // namespace

#if defined(__x86_64__)
// The faulting frame may be a leaf that never aligned the stack, but the x64 calling convention
// wants it 16-byte aligned at every call, and the system's exception dispatch (which the throw
// goes through) saves registers with aligned moves; GCC cannot realign a frame that has SEH
// tables. So the fault enters this bridge, which aligns the stack behind a frame pointer and
// calls on, with the 32 bytes of home area that the convention gives every callee. Its own table says how its frame was made, so the unwinder steps back over it to the
// faked return address and on into the faulting frame's table, with the stack pointer as it was
// at the fault.
extern "C" [[noreturn]] void SeTranslatorRaiseFault()
{
    RaiseTranslatedFault();
}
extern "C" void SeTranslatorFaultBridge();
asm(R"(
    .text
    .def SeTranslatorFaultBridge; .scl 2; .type 32; .endef
    .seh_proc SeTranslatorFaultBridge
SeTranslatorFaultBridge:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    andq $-16, %rsp
    subq $32, %rsp
    call SeTranslatorRaiseFault
    int3
    .seh_endproc
)");
#elif !defined(__i386__)
#error "hardware faults are translated on i686 and x86_64 only"
#endif

namespace {

// Makes the thread go on as if the faulting instruction had called the translation: the return
// address points into that instruction, so the unwinder finds the faulting frame's cleanups
// (-fnon-call-exceptions gives trapping instructions their table entries) and the caller's stack
// pointer as it was.
void FakeCallFromFault(CONTEXT& context)
{
#if defined(__x86_64__)
    context.Rsp -= sizeof(DWORD64);
    *reinterpret_cast<DWORD64*>(context.Rsp) = context.Rip + 1;
    context.Rip = reinterpret_cast<DWORD64>(&SeTranslatorFaultBridge);
#else
    context.Esp -= sizeof(DWORD);
    *reinterpret_cast<DWORD*>(context.Esp) = context.Eip + 1;
    context.Eip = reinterpret_cast<DWORD>(&EnterTranslatedFault);
#endif
}

// Whether the faked call's return slot, just below the faulting stack pointer, lies in the
// thread's committed stack: a fault with the stack pointer anywhere else must not make us
// write there.
bool StackTakesTheCall(const CONTEXT& context)
{
#if defined(__x86_64__)
    const ULONG_PTR stackPointer = context.Rsp;
#else
    const ULONG_PTR stackPointer = context.Esp;
#endif
    // GCC 12 takes the read of the TEB's own address at %gs:0x30 for an access out of bounds.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    const NT_TIB* tib = reinterpret_cast<const NT_TIB*>(NtCurrentTeb());
#pragma GCC diagnostic pop
    const auto limit = reinterpret_cast<ULONG_PTR>(tib->StackLimit);
    const auto base = reinterpret_cast<ULONG_PTR>(tib->StackBase);
    return stackPointer <= base && stackPointer - sizeof(ULONG_PTR) >= limit;
}

LONG CALLBACK RedirectFault(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    ThreadFaultState* state = CurrentState();
    if (!state || !state->translator || state->translating || !IsHardwareFault(record->ExceptionCode) ||
        !IsInOurModule(record->ExceptionAddress) || !StackTakesTheCall(*pointers->ContextRecord))
        return EXCEPTION_CONTINUE_SEARCH;

    state->translating = true;
    state->record = *record;
    state->context = *pointers->ContextRecord;
    FakeCallFromFault(*pointers->ContextRecord);
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Called for every thread that ends, however it was started (a TLS callback of the image):
// C++ thread_local destructors do not run for every thread with this toolchain.
void NTAPI FreeStateOfEndingThread(PVOID, DWORD reason, PVOID)
{
    if (reason != DLL_THREAD_DETACH)
        return;
    if (ThreadFaultState* state = CurrentState()) {
        TlsSetValue(g_stateSlot, nullptr);
        delete state;
    }
}

BOOL CALLBACK InstallOnce(PINIT_ONCE, PVOID, PVOID*)
{
    g_stateSlot = TlsAlloc();
    if (g_stateSlot == TLS_OUT_OF_INDEXES)
        return FALSE;
    AddVectoredExceptionHandler(1, RedirectFault);
    return TRUE;
}

}  // namespace

// Listed among the image's TLS callbacks, which the C runtime's TLS directory runs.
extern "C" __attribute__((section(".CRT$XLF"), used)) const PIMAGE_TLS_CALLBACK g_seTranslatorThreadEnd =
    FreeStateOfEndingThread;

SeTranslatorFunction SetSeTranslator(SeTranslatorFunction translator)
{
    if (!InitOnceExecuteOnce(&g_installOnce, InstallOnce, nullptr, nullptr))
        return nullptr;
    ThreadFaultState* state = CurrentState();
    if (!state) {
        if (!translator)
            return nullptr;
        state = new ThreadFaultState;
        TlsSetValue(g_stateSlot, state);
    }
    const SeTranslatorFunction previous = state->translator;
    state->translator = translator;
    return previous;
}
