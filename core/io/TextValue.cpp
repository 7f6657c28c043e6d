#include "core/io/TextValue.h"

#include "core/io/Archive.h"

bool CTextValue::Write(Misc::Serialization::IArchive& archive)
{
    return archive.WriteWString(m_key, true) && archive.WriteSpaces(1) &&
           archive.WriteWString(m_value, true) && archive.EndLine(0);
}

bool CTextValue::Read(Misc::Serialization::IArchive& archive)
{
    if (!archive.TestWToken(m_key.c_str(), false))
        return false;
    return archive.ReadWString(m_value);
}
