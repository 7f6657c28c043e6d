#include "core/io/TextValue.h"

#include "core/io/Archive.h"

bool CTextValue::Write(Misc::Serialization::IArchive& archive)
{
    // The archives write strings; one buffer per thread serves every key.
    thread_local std::wstring key;
    key.assign(m_key);
    return archive.WriteWString(key, true) && archive.WriteSpaces(1) && archive.WriteWString(m_value, true) &&
           archive.EndLine(0);
}

bool CTextValue::Read(Misc::Serialization::IArchive& archive)
{
    if (!archive.TestWToken(m_key, false))
        return false;
    return archive.ReadWString(m_value);
}
