#include "core/foundation/KVOError.h"

#include "core/foundation/StringConversion.h"
#include "core/foundation/WideFormat.h"

#include <cstdarg>

namespace Misc::Error
{

namespace
{
// Error messages are cut to fit a buffer of this size, terminator included.
constexpr size_t kFormatBufferSize = 8192;
} // namespace

CKVOError::CKVOError(const wchar_t* message)
{
    if (message)
        m_message = message;
}

CKVOError CKVOError::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring text = Misc::Text::FormatWideV(kFormatBufferSize, format, args);
    va_end(args);
    return CKVOError(std::move(text));
}

std::string CKVOError::GetMessageUtf8() const
{
    return Misc::Text::WideToUtf8(m_message);
}

} // namespace Misc::Error
