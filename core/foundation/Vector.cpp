#include "core/foundation/Vector.h"

#include "core/foundation/ValueText.h"

std::string CVector::ToString() const
{
    return Misc::Text::FormatNarrowC("%.6f %.6f %.6f", static_cast<double>(x), static_cast<double>(y),
                                     static_cast<double>(z));
}

void CVector::FromString(const std::string& text)
{
    FromCString(text.c_str());
}

void CVector::FromCString(const char* text)
{
    if (!text)
        return;
    float values[3] = {x, y, z};
    Misc::Text::ScanFloatsC(text, values, 3);
    x = values[0];
    y = values[1];
    z = values[2];
}
