#pragma once
// The system's own message for an error code, as a user sees it: without its line break.

#include "foundation/Win32.h"

#include <string>

inline std::string SystemText(DWORD code)
{
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, sizeof text,
                   nullptr);
    std::string trimmed = text;
    trimmed.erase(trimmed.find_last_not_of(" \r\n") + 1);
    return trimmed;
}
