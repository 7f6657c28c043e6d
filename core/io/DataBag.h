#pragma once

#include "core/io/Serializable.h"

#include <map>
#include <string>

// Orders wide keys as their UTF-16 units compare, as stored files expect.
struct CUtf16Less
{
    bool operator()(const std::wstring& a, const std::wstring& b) const;
};

// A string-to-string store with typed accessors, saved as a "Data{" block.
// Entities, the world map and every archive carry one for script data; the
// option and language stores are built on it.
class CDataBag : public virtual Misc::Serialization::ISerializable
{
public:
    using Map = std::map<std::wstring, std::wstring, CUtf16Less>;

    CDataBag() = default;
    CDataBag(const CDataBag&) = default;
    CDataBag& operator=(const CDataBag&) = default;
    virtual ~CDataBag() = default;

    void Set(const std::wstring& key, const std::wstring& value);
    // "%i" text, or "0x%02X" with the hex flag.
    void SetInt(const std::wstring& key, int32_t value, bool hex = false);
    void SetFloat(const std::wstring& key, float value);
    void SetBool(const std::wstring& key, bool value);

    bool Exists(const std::wstring& key) const;
    // Each getter returns false and leaves `value` alone when the key is absent.
    bool Get(const std::wstring& key, std::wstring& value) const;
    // "0x..." reads as hexadecimal, anything else as a decimal integer.
    bool GetInt(const std::wstring& key, int32_t& value) const;
    // Keeps the old value when the text holds no number.
    bool GetFloat(const std::wstring& key, float& value) const;
    bool GetBool(const std::wstring& key, bool& value) const;

    void Delete(const std::wstring& key);
    void Clear() { m_entries.clear(); }
    size_t GetCount() const { return m_entries.size(); }

    // Entries in key order.
    Map::const_iterator begin() const { return m_entries.begin(); }
    Map::const_iterator end() const { return m_entries.end(); }

    bool Write(Misc::Serialization::IArchive& archive) override;
    // Adds the block's entries; entries already present stay unless replaced.
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVODATABAG"; }

private:
    Map m_entries;
};
