#pragma once
// Hardware faults as C++ exceptions, per thread.
//
// The C++ runtime of this toolchain has no working _set_se_translator, so this is its
// equivalent: a vectored exception handler that, for a hardware fault raised by an
// instruction of our own module on a thread that has a translator installed, makes that
// thread call the translator as if the faulting instruction had called it. The translator
// throws, and the exception unwinds from the faulting frame (built with
// -fnon-call-exceptions), running destructors on the way. Faults in code outside our module,
// stack overflows, and faults on threads without a translator are left to the system.

#include "foundation/Win32.h"

using SeTranslatorFunction = void (*)(unsigned int code, EXCEPTION_POINTERS* pointers);

// Installs `translator` for the calling thread (nullptr switches translation off) and
// returns the one installed before.
SeTranslatorFunction SetSeTranslator(SeTranslatorFunction translator);
