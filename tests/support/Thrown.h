#pragma once
// What an action throws, for checking a failure's code and context.

#include "foundation/StructException.h"

#include <functional>

// Runs `action` and returns the CStructException it threw (code 0 and an empty message when
// it threw nothing).
inline CStructException Thrown(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CStructException& e) {
        return e;
    }
    return CStructException();
}
