#pragma once

#include <cstdint>
#include <map>

namespace irr
{
class CFontTool;
class IrrlichtDevice;
} // namespace irr

namespace Graphics::GUI
{

// The bitmap-font builders made for scripts, known by their handle ids
// (Misc::CHandleRegistry). Each is held here until it is destroyed, or until
// Clear when the device it draws on goes.
class CFontToolRegistry
{
public:
    CFontToolRegistry() = default;
    ~CFontToolRegistry() { Clear(); }
    CFontToolRegistry(const CFontToolRegistry&) = delete;
    CFontToolRegistry& operator=(const CFontToolRegistry&) = delete;

    // A builder on the device and its handle id; 0 without a device.
    uint32_t Create(irr::IrrlichtDevice* device);
    // The builder of the id; null for an id that names none (any more).
    /// Owned here (do not delete it), valid until Destroy of its id or Clear.
    irr::CFontTool* Get(uint32_t id) const;
    // False when the id names no builder made here.
    bool Destroy(uint32_t id);
    // Destroys every builder.
    void Clear();

private:
    std::map<uint32_t, irr::CFontTool*> m_tools; // by handle id, each held
};

} // namespace Graphics::GUI
