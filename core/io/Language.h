#pragma once

#include "core/io/DataBag.h"
#include "core/io/Serializable.h"

#include <string>

class IFile;

// Translations filed by a section and a code, saved as ".kvolanguage"
// archives. Archives that read with a translation table replace every
// string of the form "#section#code" by its translation here.
class CLanguage : public Misc::Serialization::ISerializable
{
public:
    CLanguage() = default;
    virtual ~CLanguage() = default;

    void Clear() { m_bag.Clear(); }
    size_t GetCount() const { return m_bag.GetCount(); }
    bool Exists(const std::wstring& section, const std::wstring& code) const;
    void Set(const std::wstring& section, const std::wstring& code, const std::wstring& text);
    // The text, or an empty text when there is none.
    std::wstring Get(const std::wstring& section, const std::wstring& code) const;
    void Delete(const std::wstring& section, const std::wstring& code);
    bool GetTranslation(const std::wstring& section, const std::wstring& code, std::wstring& text) const;
    // Splits "#section#code" (a third "#" ends the code) and looks it up;
    // false for a token without a leading "#" or without a translation.
    bool Translate(const std::wstring& token, std::wstring& text) const;

    // As COptions::Load and COptions::Save, with this store's type tag.
    bool Load(IFile* file);
    bool Save(const std::wstring& path, const char* mode);

    // Every translation under its composite key "[section][code]".
    const CDataBag& GetDataBag() const { return m_bag; }

    bool Write(Misc::Serialization::IArchive& archive) override { return m_bag.Write(archive); }
    bool Read(Misc::Serialization::IArchive& archive) override { return m_bag.Read(archive); }
    const char* GetTypeName() const override { return "KVOLANGUAGE"; }

private:
    static std::wstring MakeKey(const std::wstring& section, const std::wstring& code)
    {
        return L"[" + section + L"][" + code + L"]";
    }

    CDataBag m_bag;
};
