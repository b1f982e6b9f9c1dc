#include "foundation/CarriedException.h"

#include "foundation/StructException.h"

namespace {

thread_local CCarryScope* t_innermostScope = nullptr;
CStrayExceptionReporter* g_strayReporter = nullptr;

// Nothing may leave here: the callers are procedures and destructors.
void ReportStray(std::exception_ptr exception) noexcept
{
    try {
        if (g_strayReporter)
            g_strayReporter->Report(exception);
        else
            ReportUnhandledException(exception, "");
    } catch (...) {
    }
}

}  // namespace

// ---- CCarryScope ------------------------------------------------------------------------------

CCarryScope::CCarryScope() : m_outer(t_innermostScope)
{
    t_innermostScope = this;
}

CCarryScope::~CCarryScope()
{
    t_innermostScope = m_outer;
    if (m_parked)
        ReportStray(m_parked);
}

void CCarryScope::Rethrow()
{
    if (!m_parked)
        return;
    std::exception_ptr exception = std::move(m_parked);
    m_parked = nullptr;
    std::rethrow_exception(exception);
}

void CarryException(std::exception_ptr exception)
{
    CCarryScope* scope = t_innermostScope;
    if (scope && !scope->m_parked)
        scope->m_parked = std::move(exception);
    else
        ReportStray(std::move(exception));
}

// ---- CStrayExceptionReporter ------------------------------------------------------------------

CStrayExceptionReporter::CStrayExceptionReporter() : m_previous(g_strayReporter)
{
    g_strayReporter = this;
}

CStrayExceptionReporter::~CStrayExceptionReporter()
{
    g_strayReporter = m_previous;
}
