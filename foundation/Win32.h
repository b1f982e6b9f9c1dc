#pragma once
// The one way this project includes the Windows headers.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// <windows.h> maps GetMessage to GetMessageA. Our exceptions have an operation of that name,
// and the message loop calls GetMessageA by its own name, so the macro goes.
#undef GetMessage
