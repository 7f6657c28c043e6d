#pragma once

// The process-wide logger. Lines are printed on the log console when the
// output level is at least the line's level; the publishing write hands
// lines to the log event listeners instead.

#include "core/foundation/CriticalSection.h"
#include "core/foundation/Singleton.h"
#include "core/foundation/WideFormat.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace Misc
{

class CLogger
{
public:
    CLogger() = default;
    CLogger(const CLogger&) = delete;
    CLogger& operator=(const CLogger&) = delete;
    virtual ~CLogger() = default;

    // Formats the message (Windows printf semantics and the argument checks
    // of WideFormat.h; cut to 65535 characters) and hands it to Output. A
    // null format logs empty text.
    template <typename F, typename... Args>
    void Write(int32_t level, bool timeStamp, const F& format, const Args&... args)
    {
        static_assert(Text::CheckFormat<F, Args...>());
        const Text::FormatArgument arguments[] = {Text::MakeFormatArgument(args)..., Text::FormatArgument()};
        WriteArguments(level, timeStamp, Text::FormatText(format), arguments, sizeof...(Args));
    }

    // The engine's own messages: Write on the process's logger at its system
    // level, without a time stamp.
    template <typename F, typename... Args> static void WriteSystem(const F& format, const Args&... args)
    {
        CLogger* logger = Singleton::CSingleton<CLogger>::Instance();
        logger->Write(logger->GetSystemLevel(), false, format, args...);
    }

    // Prints the text when the output level is at least the level: with the
    // time stamp as "Real Time:", the local time line, the text and two line
    // breaks; the printed line always ends with one more line break.
    virtual void Output(const std::wstring& text, bool timeStamp, int32_t level);

    // When the output level is at least the level, formats as Write does
    // (the time-stamp flag is not used) and publishes the text on the Log
    // channel. Prints nothing.
    template <typename F, typename... Args>
    void WritePublish(int32_t level, bool timeStamp, const F& format, const Args&... args)
    {
        (void)timeStamp;
        static_assert(Text::CheckFormat<F, Args...>());
        const Text::FormatArgument arguments[] = {Text::MakeFormatArgument(args)..., Text::FormatArgument()};
        PublishArguments(level, Text::FormatText(format), arguments, sizeof...(Args));
    }

    int32_t GetOutputLevel() const { return m_outputLevel.load(std::memory_order_relaxed); }
    void SetOutputLevel(int32_t level) { m_outputLevel.store(level, std::memory_order_relaxed); }
    // The level at which the engine writes its own messages.
    int32_t GetSystemLevel() const { return m_systemLevel.load(std::memory_order_relaxed); }
    void SetSystemLevel(int32_t level) { m_systemLevel.store(level, std::memory_order_relaxed); }

private:
    void WriteArguments(int32_t level, bool timeStamp, const wchar_t* format,
                        const Text::FormatArgument* arguments, size_t count);
    void PublishArguments(int32_t level, const wchar_t* format, const Text::FormatArgument* arguments,
                          size_t count);

    std::atomic<int32_t> m_outputLevel{-1};
    std::atomic<int32_t> m_systemLevel{9};
    CCriticalSection m_lock; // one line at a time on the console
};

} // namespace Misc
