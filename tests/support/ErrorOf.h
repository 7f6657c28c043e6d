#pragma once

// The message of the engine error an action throws, for tests that check
// messages.

#include "core/foundation/KVOError.h"

#include <functional>
#include <string>

// As UTF-8; "(no error)" when the action throws none.
inline std::string ErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        return error.GetMessageUtf8();
    }
    return "(no error)";
}

// As wide text; empty when the action throws none.
inline std::wstring WideErrorOf(const std::function<void()>& action)
{
    try
    {
        action();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        return error.GetMessage();
    }
    return std::wstring();
}
