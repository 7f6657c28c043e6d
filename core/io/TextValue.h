#pragma once

#include "core/io/Serializable.h"

#include <string>
#include <string_view>

// A keyed wide text that saves itself as one line: the key (with its
// leading "-"), one space and the value. The key is a literal of the
// program, held by its address: entities carry many of these, and each key
// of its own would be one more allocation per entity.
class CTextValue : public Misc::Serialization::ISerializable
{
public:
    explicit CTextValue(const wchar_t* key) : m_key(key) {}
    CTextValue(const CTextValue&) = default;
    CTextValue& operator=(const CTextValue&) = default;
    virtual ~CTextValue() = default;

    std::wstring_view GetKey() const { return m_key; }
    const wchar_t* GetKeyText() const { return m_key; }
    const std::wstring& GetValue() const { return m_value; }
    void SetValue(const std::wstring& value) { m_value = value; }

    bool Write(Misc::Serialization::IArchive& archive) override;
    // False, with nothing read, when the key is not next.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOTEXT"; }

private:
    const wchar_t* m_key;
    std::wstring m_value;
};
