#include "gui/layout/LayoutArchive.h"

#include "core/foundation/KVOError.h"
#include "core/foundation/StringConversion.h"
#include "core/io/Archive.h"
#include "core/io/DataBag.h"
#include "gui/manager/ScreenCoordinates.h"

namespace Graphics::GUI::Layout
{

void Require(bool read, const char* key, const wchar_t* method)
{
    if (!read)
        throw Misc::Error::CKVOError::Format(L"[CGuiManager::%s] Invalid value for key:%s", method,
                                             Misc::Text::Utf8ToWide(key).c_str());
}

void ReadKeyFloats(Misc::Serialization::IArchive& archive, const char* key, float* values, size_t count,
                   const wchar_t* method)
{
    archive.ExpectToken(key);
    for (size_t i = 0; i < count; ++i)
        Require(archive.ReadFloat(values[i]), key, method);
}

bool WriteKeyFloats(Misc::Serialization::IArchive& archive, const char* key,
                    std::initializer_list<float> values)
{
    bool ok = archive.WriteString(key);
    for (float value : values)
        ok = ok && archive.WriteSpaces(1) && archive.WriteFloat(value, 6);
    return ok && archive.EndLine(0);
}

bool WriteBlockStart(Misc::Serialization::IArchive& archive, const char* name)
{
    return archive.WriteString(name) && archive.EndLine(+1);
}

bool WriteBlockEnd(Misc::Serialization::IArchive& archive)
{
    return archive.EndLine(-1) && archive.WriteString("}") && archive.EndLine(0);
}

bool UsesRelativeCoordinates(Misc::Serialization::IArchive& archive)
{
    bool relative = false;
    archive.GetDataBag().GetBool(L"useRelativeCoordinates", relative);
    return relative;
}

CRect ToPixels(const CRect& rect, uint32_t screenWidth, uint32_t screenHeight)
{
    const CScreenRect pixels(rect, screenWidth, screenHeight);
    return CRect(pixels.x1, pixels.y1, pixels.x2, pixels.y2);
}

} // namespace Graphics::GUI::Layout
