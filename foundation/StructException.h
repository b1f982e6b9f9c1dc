#pragma once
// The one exception family: a code, the word naming where it came from, context lines
// added by each layer it passes (newest first), and the description of the code.

#include "foundation/Str.h"

#include <exception>

class CStructException : public std::exception {
public:
    CStructException();
    CStructException(const char* source, int code, const char* description);
    CStructException(const CStructException& other);
    CStructException& operator=(const CStructException& other);
    ~CStructException() override;

    const char* what() const noexcept override;
    virtual CStr DescribeCode(int code) const;

    // Puts one formatted line in front of the context; a null format changes nothing.
    CStructException& AddContext(const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));
    CStr GetMessage() const;
    CStr GetReport() const;
    void ShowReport(const CStr& title) const;

    int code = 0;
    CStr source;
    CStr message;

private:
    CStr m_description;
    bool m_hasDescription = false;
};

// A structured exception (hardware fault) of our own code.
class CWin32Exception : public CStructException {
public:
    explicit CWin32Exception(const EXCEPTION_POINTERS* pointers);
    CStr DescribeCode(int code) const override;
    static CStr Describe(int code);
};

// A failed system call. Thrown only as a CStructException copy (see RaiseSystemError).
class CSystemException : public CStructException {
public:
    explicit CSystemException(DWORD errorCode);
    CStr DescribeCode(int code) const override;
    static CStr Describe(int code);
};

// Reports a failed system call in the family's way: the error code with its system text,
// one context line `contextPattern` (such as "Registry: %s") filled with `step`, thrown as a
// CStructException.
[[noreturn]] void RaiseSystemError(DWORD errorCode, const char* contextPattern, const CStr& step);

// Exit code of a failure without a code of its own: an exception of a foreign type, or one of
// ours carrying code 0. Scripts read 0 as success, so such a failure must never end with 0.
constexpr int kFailureWithoutCode = ERROR_INTERNAL_ERROR;
// The exit code of a failure that carries `code`: that code, or kFailureWithoutCode for none.
constexpr int ExitCodeOfFailure(int code) { return code != 0 ? code : kFailureWithoutCode; }

// Shows the box for an exception that nobody handled, captioned `title`: a CStructException's
// report after the context line "Unhandled exception", "Unknown exception" for any other kind.
// Returns the exit code the failure stands for (ExitCodeOfFailure).
int ReportUnhandledException(std::exception_ptr failure, const CStr& title);

// The translator that turns a structured exception into a thrown CWin32Exception.
[[noreturn]] void TranslateStructuredException(unsigned int code, EXCEPTION_POINTERS* pointers);
