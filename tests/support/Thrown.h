#pragma once
// What an action threw, for tests that look at a failure's code and context.

#include "foundation/StructException.h"

#include <functional>

// The CStructException that `action` threw; code 0 and an empty message when it threw nothing.
inline CStructException Thrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CStructException& e) {
        return e;
    }
    return CStructException();
}
