#pragma once

#include <cstdint>

namespace Misc
{

// One flags word behind a virtual destructor: the base of every event
// subscriber. The channels never read it; the subscriber's owner may.
class CFlags
{
public:
    CFlags() = default;
    CFlags(const CFlags&) = default;
    CFlags& operator=(const CFlags&) = default;
    virtual ~CFlags() = default;

    uint32_t GetFlags() const { return m_flags; }
    void SetFlags(uint32_t flags) { m_flags = flags; }

private:
    uint32_t m_flags = 0;
};

} // namespace Misc
