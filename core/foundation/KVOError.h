#pragma once

#include <string>

namespace Misc::Error
{

// The one error type of the engine: a wide message, thrown by value.
// Messages start with the failing class and method in brackets, e.g.
// "[CWorldMap::GetUnit] Unit not found [tree]".
class CKVOError
{
public:
    CKVOError() = default;
    // A null pointer gives the empty message.
    CKVOError(const wchar_t* message);
    CKVOError(std::wstring message) : m_message(std::move(message)) {}

    // Formats a message with Windows printf semantics ("%s" is a wide
    // string, "%S" a narrow UTF-8 one) and returns the error to throw.
    // The message is cut to 8191 characters.
    static CKVOError Format(const wchar_t* format, ...);

    const std::wstring& GetMessage() const { return m_message; }
    // The message as UTF-8, for the script runtime and std::exception users.
    std::string GetMessageUtf8() const;

private:
    std::wstring m_message;
};

} // namespace Misc::Error
