#include "graphics/scene/VectorField.h"

#include "core/io/Archive.h"

bool CVectorField::Write(Misc::Serialization::IArchive& archive) const
{
    return archive.WriteString(m_key, true) && archive.WriteSpaces(1) && archive.WriteFloat(x, 6) &&
           archive.WriteSpaces(1) && archive.WriteFloat(y, 6) && archive.WriteSpaces(1) &&
           archive.WriteFloat(z, 6) && archive.EndLine(0);
}

bool CVectorField::Read(Misc::Serialization::IArchive& archive)
{
    archive.ExpectToken(m_key.c_str());
    float values[3] = {x, y, z};
    for (float& value : values)
    {
        if (!archive.ReadFloat(value))
            return false;
    }
    x = values[0];
    y = values[1];
    z = values[2];
    return true;
}
