#include "core/foundation/Point.h"

#include "core/foundation/ValueText.h"

std::string CPoint::ToString() const
{
    return Misc::Text::FormatNarrowC("%.6f %.6f", static_cast<double>(x), static_cast<double>(y));
}

void CPoint::FromString(const std::string& text)
{
    float values[2] = {x, y};
    Misc::Text::ScanFloatsC(text.c_str(), values, 2);
    x = values[0];
    y = values[1];
}
