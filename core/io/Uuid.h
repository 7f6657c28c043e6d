#pragma once

#include "core/io/Serializable.h"

#include <string>

// An entity's identity: a 16-byte UUID and its text form (lower-case
// 8-4-4-4-12), kept in step. Saved as one "-Id" line.
class CUuid : public virtual Misc::Serialization::ISerializable
{
public:
    // A new, random id.
    CUuid();
    CUuid(const CUuid& other);
    CUuid& operator=(const CUuid& other);
    virtual ~CUuid() = default;

    void NewId();
    // Parses the text form. Text that is not a UUID leaves the id as it was
    // and gives false.
    bool SetId(const std::string& text);
    const std::string& GetId() const { return m_text; }

    bool Write(Misc::Serialization::IArchive& archive) override;
    // False when the stored id is not a UUID (the id stays as it was).
    bool Read(Misc::Serialization::IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOUUID"; }

private:
    void RefreshText();

    unsigned char m_bytes[16];
    std::string m_text;
};
