#include "foundation/StructException.h"

#include "foundation/Report.h"

namespace {

struct CodeText {
    DWORD code;
    const char* text;
};

const CodeText kStructuredExceptionTexts[] = {
    {EXCEPTION_DATATYPE_MISALIGNMENT, "The thread tried to read or write data that is misaligned on hardware that does not provide alignment. For example, 16-bit values must be aligned on 2-byte boundaries; 32-bit values on 4-byte boundaries, and so on."},
    {EXCEPTION_BREAKPOINT, "A breakpoint was encountered."},
    {EXCEPTION_SINGLE_STEP, "A trace trap or other single-instruction mechanism signaled that one instruction has been executed."},
    {EXCEPTION_ACCESS_VIOLATION, "The thread tried to read from or write to a virtual address for which it does not have the appropriate access."},
    {EXCEPTION_IN_PAGE_ERROR, "The thread tried to access a page that was not present, and the system was unable to load the page. For example, this exception might occur if a network connection is lost while running a program over the network."},
    {EXCEPTION_INVALID_HANDLE, "The thread used a handle to a kernel object that was invalid (probably because it had been closed.)"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "The thread tried to execute an invalid instruction."},
    {EXCEPTION_NONCONTINUABLE_EXCEPTION, "The thread tried to continue execution after a noncontinuable exception occurred."},
    {EXCEPTION_INVALID_DISPOSITION, "An exception handler returned an invalid disposition to the exception dispatcher. Programmers using a high-level language such as C should never encounter this exception."},
    {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "The thread tried to access an array element that is out of bounds and the underlying hardware supports bounds checking."},
    {EXCEPTION_FLT_DENORMAL_OPERAND, "One of the operands in a floating-point operation is denormal. A denormal value is one that is too small to represent as a standard floating-point value."},
    {EXCEPTION_FLT_DIVIDE_BY_ZERO, "The thread tried to divide a floating-point value by a floating-point divisor of zero."},
    {EXCEPTION_FLT_INEXACT_RESULT, "The result of a floating-point operation cannot be represented exactly as a decimal fraction."},
    {EXCEPTION_FLT_INVALID_OPERATION, "This exception represents any floating-point exception not included in this list."},
    {EXCEPTION_FLT_OVERFLOW, "The exponent of a floating-point operation is greater than the magnitude allowed by the corresponding type."},
    {EXCEPTION_FLT_STACK_CHECK, "The stack overflowed or underflowed as the result of a floating-point operation."},
    {EXCEPTION_FLT_UNDERFLOW, "The exponent of a floating-point operation is less than the magnitude allowed by the corresponding type."},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "The thread tried to divide an integer value by an integer divisor of zero."},
    {EXCEPTION_INT_OVERFLOW, "The result of an integer operation caused a carry out of the most significant bit of the result."},
    {EXCEPTION_PRIV_INSTRUCTION, "The thread tried to execute an instruction whose operation is not allowed in the current machine mode."},
    {EXCEPTION_STACK_OVERFLOW, "The thread used up its stack."},
};

}  // namespace

// ---- CStructException ---------------------------------------------------------------------

CStructException::CStructException() = default;

CStructException::CStructException(const char* source, int code, const char* description)
    : code(code), source(source), m_description(description), m_hasDescription(true)
{
}

CStructException::CStructException(const CStructException& other)
    : std::exception(other),
      code(other.code),
      source(other.source),
      message(other.message),
      m_description(other.m_description),
      m_hasDescription(other.m_hasDescription)
{
}

CStructException& CStructException::operator=(const CStructException& other)
{
    if (&other != this) {
        std::exception::operator=(other);
        code = other.code;
        source = other.source;
        message = other.message;
        m_description = other.m_description;
        m_hasDescription = other.m_hasDescription;
    }
    return *this;
}

CStructException::~CStructException() = default;

const char* CStructException::what() const noexcept
{
    if (!m_hasDescription || !m_description.data)
        return "Unknown exception";
    return m_description.data;
}

CStr CStructException::DescribeCode(int) const
{
    return CStr();
}

CStructException& CStructException::AddContext(const char* format, ...)
{
    if (!format)
        return *this;
    CStr line;
    va_list args;
    va_start(args, format);
    line.FormatV(format, args);
    va_end(args);
    message = CStr().Format("%s\n%s", line.data, message.data);
    return *this;
}

CStr CStructException::GetMessage() const
{
    return message;
}

CStr CStructException::GetReport() const
{
    CStr report;
    if (code != 0)
        report.Format("%s ERROR:\n%s\nCode: %d (0x%08X)\n%s", source.data, message.data, code,
                      static_cast<unsigned>(code), what());
    else
        report.Format("%s ERROR:\n%s%s", source.data, message.data, what());
    return report;
}

void CStructException::ShowReport(const CStr& title) const
{
    ShowMessageBox(nullptr, GetReport().data, title.data,
                   MB_ICONERROR | MB_TOPMOST | MB_SERVICE_NOTIFICATION);
}

// ---- CWin32Exception ----------------------------------------------------------------------

CWin32Exception::CWin32Exception(const EXCEPTION_POINTERS* pointers)
    : CStructException("WIN32", static_cast<int>(pointers->ExceptionRecord->ExceptionCode),
                       Describe(static_cast<int>(pointers->ExceptionRecord->ExceptionCode)).data)
{
}

CStr CWin32Exception::DescribeCode(int code) const
{
    return Describe(code);
}

CStr CWin32Exception::Describe(int code)
{
    for (const CodeText& entry : kStructuredExceptionTexts)
        if (entry.code == static_cast<DWORD>(code))
            return entry.text;
    return "Unknow";
}

// ---- CSystemException ---------------------------------------------------------------------

CSystemException::CSystemException(DWORD errorCode)
    : CStructException("SYSTEM", static_cast<int>(errorCode), Describe(static_cast<int>(errorCode)).data)
{
}

CStr CSystemException::DescribeCode(int code) const
{
    return Describe(code);
}

namespace {

// The system's text for `code` in `language`; empty when it has none.
CStr SystemMessage(int code, DWORD language)
{
    CStr text;
    char* buffer = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
        static_cast<DWORD>(code), language, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length != 0 && buffer)
        text = buffer;
    if (buffer)
        LocalFree(buffer);
    return text;
}

}  // namespace

// In the user's language; where the system lacks the text in it, in the first language of the
// system's own order that has it (language 0).
CStr CSystemException::Describe(int code)
{
    if (code == 0)
        return CStr();
    const CStr text = SystemMessage(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT));
    return text.GetLength() != 0 ? text : SystemMessage(code, 0);
}

// ---- raising and translating --------------------------------------------------------------

void RaiseSystemError(DWORD errorCode, const char* contextPattern, const CStr& step)
{
    CSystemException failure(errorCode);
    failure.AddContext(contextPattern, step.data);
    throw CStructException(failure);
}

int ReportUnhandledException(std::exception_ptr failure, const CStr& title)
{
    try {
        std::rethrow_exception(failure);
    } catch (CStructException& unhandled) {
        unhandled.AddContext("Unhandled exception");
        unhandled.ShowReport(title);
        return ExitCodeOfFailure(unhandled.code);
    } catch (...) {
        ShowMessageBox(nullptr, "Unknown exception", title.data, MB_TOPMOST | MB_ICONERROR);
        return kFailureWithoutCode;
    }
}

void TranslateStructuredException(unsigned int, EXCEPTION_POINTERS* pointers)
{
    throw CWin32Exception(pointers);
}
