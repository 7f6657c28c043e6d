#include "core/io/Language.h"

#include "core/io/ArchiveHandle.h"

bool CLanguage::Exists(const std::wstring& section, const std::wstring& code) const
{
    return m_bag.Exists(MakeKey(section, code));
}

void CLanguage::Set(const std::wstring& section, const std::wstring& code, const std::wstring& text)
{
    m_bag.Set(MakeKey(section, code), text);
}

std::wstring CLanguage::Get(const std::wstring& section, const std::wstring& code) const
{
    std::wstring text;
    m_bag.Get(MakeKey(section, code), text);
    return text;
}

void CLanguage::Delete(const std::wstring& section, const std::wstring& code)
{
    m_bag.Delete(MakeKey(section, code));
}

bool CLanguage::GetTranslation(const std::wstring& section, const std::wstring& code,
                               std::wstring& text) const
{
    return m_bag.Get(MakeKey(section, code), text);
}

bool CLanguage::Translate(const std::wstring& token, std::wstring& text) const
{
    if (token.empty() || token[0] != L'#')
        return false;
    const size_t second = token.find(L'#', 1);
    std::wstring section;
    std::wstring code;
    if (second != std::wstring::npos)
    {
        section = token.substr(1, second - 1);
        const size_t third = token.find(L'#', second + 1);
        code =
            token.substr(second + 1, third == std::wstring::npos ? std::wstring::npos : third - second - 1);
    }
    return GetTranslation(section, code, text);
}

bool CLanguage::Load(IFile* file)
{
    return Misc::Serialization::LoadSerializable(*this, file);
}

bool CLanguage::Save(const std::wstring& path, const char* mode)
{
    return Misc::Serialization::SaveSerializable(*this, path, mode);
}
