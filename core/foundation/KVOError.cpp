#include "core/foundation/KVOError.h"

#include "core/foundation/StringConversion.h"

namespace Misc::Error
{

namespace
{
// Error messages are cut to fit a buffer of this size, terminator included.
constexpr size_t kFormatBufferSize = 8192;
} // namespace

CKVOError::CKVOError(const wchar_t* message) : CKVOError(std::wstring(message ? message : L"")) {}

CKVOError::CKVOError(std::wstring message)
    : m_message(std::move(message)), m_messageUtf8(Misc::Text::WideToUtf8(m_message))
{
}

CKVOError CKVOError::FormatArguments(const wchar_t* format, const Text::FormatArgument* arguments,
                                     size_t count)
{
    return CKVOError(Text::FormatWideArguments(kFormatBufferSize, format, arguments, count));
}

} // namespace Misc::Error
