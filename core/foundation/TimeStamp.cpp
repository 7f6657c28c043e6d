#include "core/foundation/TimeStamp.h"

#include "core/foundation/WideFormat.h"

#include <ctime>

namespace Misc::Text
{

std::wstring FormatLocalTime(int64_t secondsSinceEpoch)
{
    static const wchar_t* const kDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
    static const wchar_t* const kMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                             L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};

    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr || local.tm_wday < 0 || local.tm_wday > 6 || local.tm_mon < 0 ||
        local.tm_mon > 11)
        return std::wstring();

    return FormatWide(0, L"%s %s %02d %02d:%02d:%02d %lld\n", kDays[local.tm_wday], kMonths[local.tm_mon],
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                      static_cast<long long>(local.tm_year) + 1900);
}

std::wstring CurrentLocalTime()
{
    return FormatLocalTime(static_cast<int64_t>(std::time(nullptr)));
}

} // namespace Misc::Text
