#include "core/foundation/Point.h"

#include "core/foundation/ValueText.h"

std::string CPoint::ToString() const
{
    return Misc::Text::FormatNarrowC("%.6f %.6f", static_cast<double>(x), static_cast<double>(y));
}

void CPoint::FromString(const std::string& text)
{
    FromCString(text.c_str());
}

void CPoint::FromCString(const char* text)
{
    if (!text)
        return;
    float values[2] = {x, y};
    Misc::Text::ScanFloatsC(text, values, 2);
    x = values[0];
    y = values[1];
}
