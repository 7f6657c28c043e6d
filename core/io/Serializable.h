#pragma once

#include "core/io/FileVersions.h"

#include <cstdint>

namespace Misc::Serialization
{

class IArchive;

// Version that every saved class of the engine writes, and the oldest
// version any of them reads.
constexpr uint32_t kSerialVersion = FileVersion::kNewest;
constexpr uint32_t kSerialMinimumVersion = 1;

// A class that saves itself to and loads itself from an archive. Used as a
// virtual base; objects are never deleted through this interface.
class ISerializable
{
public:
    virtual bool Write(IArchive& archive) = 0;
    virtual bool Read(IArchive& archive) = 0;
    virtual uint32_t GetVersion() const { return kSerialVersion; }
    virtual uint32_t GetMinimumVersion() const { return kSerialMinimumVersion; }
    // The type tag that heads the saved file, e.g. "KVOOPTIONS".
    virtual const char* GetTypeName() const = 0;

protected:
    ~ISerializable() = default;
};

} // namespace Misc::Serialization
