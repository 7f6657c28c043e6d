#include "core/foundation/Logger.h"

#include "core/events/Multicast.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/TextUtilities.h"
#include "core/foundation/TimeStamp.h"
#include "core/foundation/WideFormat.h"
#include "platform/Console.h"

#include <cstdarg>

namespace Misc
{

namespace
{

// Log lines are cut to fit a buffer of this size, terminator included.
constexpr size_t kLineBufferSize = 65536;

std::wstring FormatLine(const wchar_t* format, va_list args)
{
    if (format == nullptr)
        return std::wstring();
    return Text::FormatWideV(kLineBufferSize, format, args);
}

} // namespace

void CLogger::Write(int32_t level, bool timeStamp, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::wstring text = FormatLine(format, args);
    va_end(args);
    Output(text, timeStamp, level);
}

void CLogger::Output(const std::wstring& text, bool timeStamp, int32_t level)
{
    if (GetOutputLevel() < level)
        return;

    std::wstring line;
    if (timeStamp)
        line = L"Real Time:" + Text::CurrentLocalTime() + text + L"\n\n";
    else
        line = text;
    line += L'\n';

    // Log lines carry text from files and scripts: no control character of
    // theirs reaches the terminal raw.
    const std::wstring shown = EscapeControlCharacters(line);
    CScopedLock lock(m_lock);
    Platform::WriteConsole(Text::WideToUtf8(shown));
}

void CLogger::WritePublish(int32_t level, bool timeStamp, const wchar_t* format, ...)
{
    (void)timeStamp;
    if (GetOutputLevel() < level)
        return;

    Multicast::CEvtLog event;
    va_list args;
    va_start(args, format);
    event.message = FormatLine(format, args);
    va_end(args);
    event.level = level;
    Multicast::CMulticastOf<Multicast::Kind::Log>::Publish(event);
}

} // namespace Misc
