#include "graphics/scene/RectField.h"

#include "core/io/Archive.h"

bool CRectField::Write(Misc::Serialization::IArchive& archive) const
{
    return archive.WriteString(m_key, true) && archive.WriteSpaces(1) && archive.WriteFloat(x1, 6) &&
           archive.WriteSpaces(1) && archive.WriteFloat(y1, 6) && archive.WriteSpaces(1) &&
           archive.WriteFloat(x2, 6) && archive.WriteSpaces(1) && archive.WriteFloat(y2, 6) &&
           archive.EndLine(0);
}

bool CRectField::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken(m_key.c_str());
    float values[4] = {x1, y1, x2, y2};
    for (float& value : values)
    {
        if (!archive.ReadFloat(value))
            return false;
    }
    x1 = values[0];
    y1 = values[1];
    x2 = values[2];
    y2 = values[3];
    return true;
}
