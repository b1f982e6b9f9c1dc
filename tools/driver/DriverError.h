#pragma once
// What a driver step throws when the program under test does not do what was waited for.
// GoogleTest reports the text of an escaped exception, so each message says what was
// expected, of which process, within how long, and what was found instead.

#include "foundation/Win32.h"

#include <stdexcept>
#include <string>

namespace e2e {

class DriverError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

[[noreturn]] void Fail(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

// Fail with the text of the calling thread's last Win32 error after `step`.
[[noreturn]] void FailWithLastError(const std::string& step);

}  // namespace e2e
