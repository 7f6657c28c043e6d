#pragma once

#include "core/io/Serializable.h"

#include <string>

// A keyed wide text that saves itself as one line: the key (with its
// leading "-"), one space and the value.
class CTextValue : public Misc::Serialization::ISerializable
{
public:
    explicit CTextValue(const std::wstring& key) : m_key(key) {}
    CTextValue(const CTextValue&) = default;
    CTextValue& operator=(const CTextValue&) = default;
    virtual ~CTextValue() = default;

    const std::wstring& GetKey() const { return m_key; }
    const std::wstring& GetValue() const { return m_value; }
    void SetValue(const std::wstring& value) { m_value = value; }

    bool Write(Misc::Serialization::IArchive& archive) override;
    // False, with nothing read, when the key is not next.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOTEXT"; }

private:
    std::wstring m_key;
    std::wstring m_value;
};
