#pragma once

#include "core/foundation/WideFormat.h"

#include <exception>
#include <string>

namespace Misc::Error
{

// The one error type of the engine: a wide message, thrown by value.
// Messages start with the failing class and method in brackets, e.g.
// "[CWorldMap::GetUnit] Unit not found [tree]". It is a std::exception whose
// what() is the message in UTF-8, so one catch of std::exception takes it
// along with the runtime's and the library's errors.
class CKVOError : public std::exception
{
public:
    CKVOError() = default;
    // A null pointer gives the empty message.
    CKVOError(const wchar_t* message);
    CKVOError(std::wstring message);

    // Formats a message with Windows printf semantics ("%s" is wide text,
    // "%S" narrow UTF-8 text; see WideFormat.h, also for the checks of the
    // arguments) and returns the error to throw. The message is cut to 8191
    // characters.
    template <typename F, typename... Args> static CKVOError Format(const F& format, const Args&... args)
    {
        static_assert(Text::CheckFormat<F, Args...>());
        const Text::FormatArgument arguments[] = {Text::MakeFormatArgument(args)..., Text::FormatArgument()};
        return FormatArguments(Text::FormatText(format), arguments, sizeof...(Args));
    }

    const std::wstring& GetMessage() const { return m_message; }
    // The message as UTF-8, for the script runtime and std::exception users.
    const std::string& GetMessageUtf8() const { return m_messageUtf8; }
    const char* what() const noexcept override { return m_messageUtf8.c_str(); }

private:
    static CKVOError FormatArguments(const wchar_t* format, const Text::FormatArgument* arguments,
                                     size_t count);

    std::wstring m_message;
    std::string m_messageUtf8;
};

} // namespace Misc::Error
