#include "tools/driver/DriverError.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace e2e {

namespace {

std::string FormatV(const char* format, va_list args)
{
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    return std::string(text.data(), static_cast<size_t>(length));
}

}  // namespace

std::string Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

void Fail(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    throw DriverError(text);
}

void FailWithLastError(const std::string& step)
{
    const DWORD code = GetLastError();
    char description[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, description,
                   sizeof description, nullptr);
    Fail("%s failed: error %lu %s", step.c_str(), code, description);
}

}  // namespace e2e
