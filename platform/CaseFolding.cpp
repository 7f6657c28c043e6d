#include "platform/CaseFolding.h"

#include <cwctype>
#include <locale.h>

namespace Platform
{

namespace
{

// A UTF-8 C locale of our own for Unicode case mapping; the process locale
// stays "C" (numbers must format the same everywhere).
locale_t CaseLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

} // namespace

wchar_t FoldCaseUnicode(wchar_t c)
{
    const locale_t locale = CaseLocale();
    if (!locale)
        return c;
    return static_cast<wchar_t>(towlower_l(towupper_l(static_cast<wint_t>(c), locale), locale));
}

} // namespace Platform
