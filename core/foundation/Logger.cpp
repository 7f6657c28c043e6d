#include "core/foundation/Logger.h"

#include "core/events/Multicast.h"
#include "core/foundation/StringConversion.h"
#include "core/foundation/TextUtilities.h"
#include "core/foundation/TimeStamp.h"
#include "core/foundation/WideFormat.h"
#include "platform/Console.h"

namespace Misc
{

namespace
{

// Log lines are cut to fit a buffer of this size, terminator included.
constexpr size_t kLineBufferSize = 65536;

} // namespace

void CLogger::WriteArguments(int32_t level, bool timeStamp, const wchar_t* format,
                             const Text::FormatArgument* arguments, size_t count)
{
    Output(Text::FormatWideArguments(kLineBufferSize, format, arguments, count), timeStamp, level);
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

void CLogger::PublishArguments(int32_t level, const wchar_t* format, const Text::FormatArgument* arguments,
                               size_t count)
{
    if (GetOutputLevel() < level)
        return;

    Multicast::CEvtLog event;
    event.message = Text::FormatWideArguments(kLineBufferSize, format, arguments, count);
    event.level = level;
    Multicast::CMulticastOf<Multicast::Kind::Log>::Publish(event);
}

} // namespace Misc
