#include "foundation/SeTranslator.h"

#include <cstdlib>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// What one thread needs to raise a translated fault: the translator and a copy of the
// fault, taken by the vectored handler and read by the redirected thread.
struct ThreadFaultState {
    SeTranslatorFunction translator = nullptr;
    EXCEPTION_RECORD record{};
    CONTEXT context{};
};

DWORD g_stateSlot = TLS_OUT_OF_INDEXES;
INIT_ONCE g_installOnce = INIT_ONCE_STATIC_INIT;

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

// Entered in place of the faulting instruction, as if called from it. The stack may have
// any alignment at that point.
[[noreturn]] __attribute__((force_align_arg_pointer, noinline)) void RaiseTranslatedFault()
{
    ThreadFaultState* state = CurrentState();
    EXCEPTION_POINTERS pointers{&state->record, &state->context};
    state->translator(state->record.ExceptionCode, &pointers);
    std::abort();   // a translator that returns leaves nothing sensible to resume
}

LONG CALLBACK RedirectFault(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    ThreadFaultState* state = CurrentState();
    if (!state || !state->translator || !IsHardwareFault(record->ExceptionCode) ||
        !IsInOurModule(record->ExceptionAddress))
        return EXCEPTION_CONTINUE_SEARCH;

    state->record = *record;
    state->context = *pointers->ContextRecord;

    // Fake a call from the faulting instruction: the return address points into it, so the
    // unwinder finds the faulting frame's cleanups and the caller's stack pointer as it was.
    CONTEXT* context = pointers->ContextRecord;
    context->Esp -= sizeof(DWORD);
    *reinterpret_cast<DWORD*>(context->Esp) = context->Eip + 1;
    context->Eip = reinterpret_cast<DWORD>(&RaiseTranslatedFault);
    return EXCEPTION_CONTINUE_EXECUTION;
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
