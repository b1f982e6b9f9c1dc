#include "foundation/CarriedException.h"

namespace {
thread_local std::exception_ptr t_carried;
}

void CarryException(std::exception_ptr exception)
{
    if (!t_carried)
        t_carried = std::move(exception);
}

void RethrowCarriedException()
{
    if (!t_carried)
        return;
    std::exception_ptr exception = std::move(t_carried);
    t_carried = nullptr;
    std::rethrow_exception(exception);
}

bool HasCarriedException()
{
    return static_cast<bool>(t_carried);
}
