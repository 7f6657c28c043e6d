#include "core/foundation/ScopedCLocale.h"

namespace Misc::Text
{

CScopedCLocale::CScopedCLocale()
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale)
        m_previous = uselocale(cLocale);
}

CScopedCLocale::~CScopedCLocale()
{
    if (m_previous)
        uselocale(m_previous);
}

} // namespace Misc::Text
