#include "core/foundation/Rect.h"

#include "core/foundation/ValueText.h"

std::string CRect::ToString() const
{
    return Misc::Text::FormatNarrowC("%.6f %.6f %.6f %.6f", static_cast<double>(x1), static_cast<double>(y1),
                                     static_cast<double>(x2), static_cast<double>(y2));
}

void CRect::FromString(const std::string& text)
{
    FromCString(text.c_str());
}

void CRect::FromCString(const char* text)
{
    if (!text)
        return;
    float values[4] = {x1, y1, x2, y2};
    Misc::Text::ScanFloatsC(text, values, 4);
    x1 = values[0];
    y1 = values[1];
    x2 = values[2];
    y2 = values[3];
}
