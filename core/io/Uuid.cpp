#include "core/io/Uuid.h"

#include "core/io/Archive.h"

#include <algorithm>
#include <cstring>
#include <uuid/uuid.h>

CUuid::CUuid()
{
    NewId();
}

CUuid::CUuid(const CUuid& other) : Misc::Serialization::ISerializable(other)
{
    std::memcpy(m_bytes, other.m_bytes, sizeof(m_bytes));
    RefreshText();
}

CUuid& CUuid::operator=(const CUuid& other)
{
    std::memcpy(m_bytes, other.m_bytes, sizeof(m_bytes));
    RefreshText();
    return *this;
}

void CUuid::NewId()
{
    uuid_generate(m_bytes);
    RefreshText();
}

bool CUuid::SetId(const std::string& text)
{
    uuid_t parsed;
    if (uuid_parse(text.c_str(), parsed) != 0 || text.size() != 36)
        return false;
    std::memcpy(m_bytes, parsed, sizeof(m_bytes));
    // Text already in the lower-case form is its own text form.
    if (std::none_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'F'; }))
        m_text = text;
    else
        RefreshText();
    return true;
}

void CUuid::RefreshText()
{
    char text[37];
    uuid_unparse_lower(m_bytes, text);
    m_text.assign(text, 36);
}

bool CUuid::Write(Misc::Serialization::IArchive& archive)
{
    return archive.WriteString("-Id") && archive.WriteSpaces(1) && archive.WriteString(m_text, true) &&
           archive.EndLine(0);
}

bool CUuid::Read(Misc::Serialization::IArchive& archive)
{
    std::string text;
    archive.ReadKeyString("-Id", text);
    return SetId(text);
}
