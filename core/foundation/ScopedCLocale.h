#pragma once

#include <locale.h>

namespace Misc::Text
{

// Switches the calling thread to the "C" locale for the lifetime of the
// object; other threads keep theirs. The C library's number conversions
// (printf, scanf, strtod and their wide forms) then write and read a decimal
// point whatever locale the process was given (a script may change it).
class CScopedCLocale
{
public:
    CScopedCLocale();
    ~CScopedCLocale();
    CScopedCLocale(const CScopedCLocale&) = delete;
    CScopedCLocale& operator=(const CScopedCLocale&) = delete;

private:
    locale_t m_previous = static_cast<locale_t>(nullptr);
};

} // namespace Misc::Text
