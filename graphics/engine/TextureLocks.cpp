#include "graphics/engine/TextureLocks.h"

#include "core/foundation/HandleRegistry.h"

#include <ITexture.h>

#include <vector>

namespace Graphics
{

using Misc::CHandleRegistry;

CTextureLocks::~CTextureLocks()
{
    ReleaseAll();
}

uint32_t CTextureLocks::Lock(irr::video::ITexture* texture)
{
    if (texture == nullptr)
        return 0;
    SHeld& held = m_textures[texture];
    if (held.count == 0)
    {
        texture->grab();
        held.pixels = texture->lock(irr::video::ETLM_READ_WRITE);
    }
    ++held.count;
    auto lock = std::make_unique<STextureLock>(STextureLock{texture, held.pixels});
    const uint32_t id = CHandleRegistry::GetInstance().Add(lock.get());
    m_locks.emplace(id, std::move(lock));
    return id;
}

bool CTextureLocks::Unlock(uint32_t id)
{
    const auto found = m_locks.find(id);
    if (found == m_locks.end())
        return false;
    irr::video::ITexture* texture = found->second->texture;
    CHandleRegistry::GetInstance().Remove(id);
    m_locks.erase(found);
    const auto held = m_textures.find(texture);
    if (held != m_textures.end() && --held->second.count == 0)
    {
        m_textures.erase(held);
        UnlockTexture(texture);
    }
    return true;
}

void CTextureLocks::UnlockTexture(irr::video::ITexture* texture)
{
    texture->unlock();
    texture->regenerateMipMapLevels();
    texture->drop();
}

const STextureLock* CTextureLocks::Find(uint32_t id) const
{
    const auto found = m_locks.find(id);
    return found != m_locks.end() ? found->second.get() : nullptr;
}

bool CTextureLocks::IsLocked(const irr::video::ITexture* texture) const
{
    return m_textures.count(const_cast<irr::video::ITexture*>(texture)) != 0;
}

void CTextureLocks::Release(irr::video::ITexture* texture)
{
    std::vector<uint32_t> ids;
    for (const auto& entry : m_locks)
    {
        if (entry.second->texture == texture)
            ids.push_back(entry.first);
    }
    for (uint32_t id : ids)
        Unlock(id);
}

void CTextureLocks::ReleaseAll()
{
    std::vector<uint32_t> ids;
    ids.reserve(m_locks.size());
    for (const auto& entry : m_locks)
        ids.push_back(entry.first);
    for (uint32_t id : ids)
        Unlock(id);
}

CTextureLocks::CSuspend::CSuspend(CTextureLocks& locks, irr::video::ITexture* texture)
    : m_locks(locks), m_texture(texture)
{
    if (texture != nullptr && locks.IsLocked(texture))
    {
        texture->unlock();
        m_suspended = true;
    }
}

CTextureLocks::CSuspend::~CSuspend()
{
    if (!m_suspended)
        return;
    void* pixels = m_texture->lock(irr::video::ETLM_READ_WRITE);
    const auto held = m_locks.m_textures.find(m_texture);
    if (held != m_locks.m_textures.end())
        held->second.pixels = pixels;
    for (auto& entry : m_locks.m_locks)
    {
        if (entry.second->texture == m_texture)
            entry.second->pixels = pixels;
    }
}

} // namespace Graphics
