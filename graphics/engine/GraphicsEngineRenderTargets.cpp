// The graphics engine's render targets, kept by name.

#include "graphics/engine/GraphicsEngine.h"

#include "core/foundation/KVOError.h"
#include "graphics/engine/RenderTarget.h"

namespace Graphics
{

bool CGraphicsEngine::CreateRenderTarget(const std::wstring& name, const CPoint& size, IFrameCamera* camera,
                                         uint32_t frameRate)
{
    m_renderTargets.erase(name);
    CRenderTarget& target = *m_renderTargets.emplace(name, std::make_unique<CRenderTarget>()).first->second;
    if (!target.Create(this, size))
        return false;
    target.SetCamera(camera, frameRate);
    return true;
}

CGraphicsEngine::CRenderTarget& CGraphicsEngine::GetRenderTarget(const std::wstring& name)
{
    const auto found = m_renderTargets.find(name);
    if (found == m_renderTargets.end())
        throw Misc::Error::CKVOError(L"[CGraphicsEngine::GetRenderTarget] Render target id not found");
    return *found->second;
}

bool CGraphicsEngine::RenderTargetExists(const std::wstring& name) const
{
    return m_renderTargets.count(name) != 0;
}

void CGraphicsEngine::RemoveRenderTarget(const std::wstring& name)
{
    m_renderTargets.erase(name);
}

void CGraphicsEngine::RemoveAllRenderTargets()
{
    m_renderTargets.clear();
}

} // namespace Graphics
