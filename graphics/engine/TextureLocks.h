#pragma once

// The texture locks that scripts hold. A script gets a lock's id from the
// handle registry, never an address: every id it hands back is looked up
// again, so a second unlock, a forged number or the lock of a texture that
// has gone is an unknown id, never a stale pointer.
//
// A texture is locked in the driver once, however many script locks share
// it: Irrlicht's OpenGL textures free their pixel copy at each unlock, which
// would leave the other locks pointing at freed memory.

#include <cstdint>
#include <memory>
#include <unordered_map>

namespace irr::video
{
class ITexture;
}

namespace Graphics
{

// One lock as a script's handle names it.
struct STextureLock
{
    irr::video::ITexture* texture = nullptr;
    // The locked pixel memory; null where the driver has none (NULL driver).
    void* pixels = nullptr;
};

class CTextureLocks
{
public:
    CTextureLocks() = default;
    CTextureLocks(const CTextureLocks&) = delete;
    CTextureLocks& operator=(const CTextureLocks&) = delete;
    // Ends every lock.
    ~CTextureLocks();

    // Locks the texture for reading and writing and returns the new lock's
    // handle id (never 0); 0 for a null texture. The texture is held until
    // its last lock ends.
    uint32_t Lock(irr::video::ITexture* texture);
    // Ends the lock; the last lock of a texture unlocks it in the driver,
    // which regenerates its mip maps. False for an id that names no lock.
    bool Unlock(uint32_t id);
    // The lock of that id, or null.
    const STextureLock* Find(uint32_t id) const;
    // Whether a lock of the texture exists.
    bool IsLocked(const irr::video::ITexture* texture) const;
    // Ends every lock of the texture (their ids become unknown): called
    // before the texture leaves the driver.
    void Release(irr::video::ITexture* texture);
    // Ends every lock: called before the textures or the device go.
    void ReleaseAll();

    // While it lives, the texture's driver lock is let go (what the locks
    // wrote reaches the texture) so that the driver or the engine may lock
    // the texture itself; then it is taken again and the locks get the new
    // pixel memory. Nothing for a texture without locks.
    class CSuspend
    {
    public:
        CSuspend(CTextureLocks& locks, irr::video::ITexture* texture);
        ~CSuspend();
        CSuspend(const CSuspend&) = delete;
        CSuspend& operator=(const CSuspend&) = delete;

    private:
        CTextureLocks& m_locks;
        irr::video::ITexture* m_texture;
        bool m_suspended = false;
    };

private:
    struct SHeld
    {
        void* pixels = nullptr;
        uint32_t count = 0;
    };

    void UnlockTexture(irr::video::ITexture* texture);

    // Id -> lock; the handle registry maps the same ids to these records.
    std::unordered_map<uint32_t, std::unique_ptr<STextureLock>> m_locks;
    std::unordered_map<irr::video::ITexture*, SHeld> m_textures;
};

} // namespace Graphics
