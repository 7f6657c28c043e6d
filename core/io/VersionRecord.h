#pragma once

#include "core/io/Serializable.h"

namespace Misc::Serialization
{

// The "Version{" block that follows the type tag at the head of every
// archive. Both archives derive from it and keep their version word here.
class CVersionRecord : public virtual ISerializable
{
public:
    explicit CVersionRecord(uint32_t version = 0) : m_version(version) {}

    bool Write(IArchive& archive) override;
    bool Read(IArchive& archive) override;
    const char* GetTypeName() const override { return "KVOVERSION"; }

protected:
    ~CVersionRecord() = default;

    uint32_t m_version;
};

} // namespace Misc::Serialization
