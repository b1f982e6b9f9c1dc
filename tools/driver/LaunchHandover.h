#pragma once
// What e2e_launch and the driver share: the record through which the launcher hands the
// program it started back to the driver (a named shared-memory block that the driver makes and
// the launcher fills), and the hexadecimal form in which the driver passes it the program's
// command line (one word that no quoting on the way can alter).

#include "foundation/Win32.h"

#include <string>

namespace e2e {

enum : LONG { kLaunchWaiting = 0, kLaunchDone = 1, kLaunchFailed = 2 };

struct LaunchHandover {
    DWORD driverId;          // written by the driver: the process that receives the handle
    volatile LONG state;     // kLaunchWaiting until the launcher has done its part
    DWORD error;             // the Win32 error of the failed step (kLaunchFailed)
    DWORD processId;         // kLaunchDone: the started program
    HANDLE process;          // kLaunchDone: a handle to it, valid in the driver's process
};

inline std::string ToHex(const std::string& text)
{
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : text) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

inline std::string FromHex(const std::string& hex)
{
    auto value = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    std::string text;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        text.push_back(static_cast<char>(value(hex[i]) * 16 + value(hex[i + 1])));
    return text;
}

}  // namespace e2e
