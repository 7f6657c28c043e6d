#include "gui/fonts/FontToolRegistry.h"

#include "core/foundation/HandleRegistry.h"
#include "gui/fonts/FontTool.h"

namespace Graphics::GUI
{

uint32_t CFontToolRegistry::Create(irr::IrrlichtDevice* device)
{
    if (device == nullptr)
        return 0;
    auto* tool = new irr::CFontTool(device);
    const uint32_t id = Misc::CHandleRegistry::GetInstance().Add(tool);
    m_tools.emplace(id, tool);
    return id;
}

irr::CFontTool* CFontToolRegistry::Get(uint32_t id) const
{
    return Misc::CHandleRegistry::GetInstance().Get<irr::CFontTool>(id);
}

bool CFontToolRegistry::Destroy(uint32_t id)
{
    const auto found = m_tools.find(id);
    if (found == m_tools.end())
        return false;
    irr::CFontTool* tool = found->second;
    m_tools.erase(found);
    Misc::CHandleRegistry::GetInstance().Remove(id);
    tool->drop();
    return true;
}

void CFontToolRegistry::Clear()
{
    while (!m_tools.empty())
        Destroy(m_tools.begin()->first);
}

} // namespace Graphics::GUI
