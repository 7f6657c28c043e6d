#include "irrlicht/IrrlichtConversions.h"
#include "gui/manager/GuiManagerParts.h"

#include <irrlicht.h>

namespace Graphics::GUI
{

using namespace irr;
using Misc::Multicast::CMulticast;

CGuiManager::CFaderManager::CFaderManager(CGuiManager* manager) : m_manager(manager) {}

CGuiManager::CFaderManager::~CFaderManager()
{
    CMulticast<Graphics::Multicast::CEvtGraphicsTick>::Unsubscribe(this);
}

void CGuiManager::CFaderManager::Configure(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime)
{
    m_color.Set(color);
    m_inTime = inTime;
    m_outTime = outTime;
    m_id = id;
    m_autoClear = true;
}

void CGuiManager::CFaderManager::FadeIn(const CColor& color, uint32_t time, bool autoClear)
{
    Fade(color, time, autoClear, true);
}

void CGuiManager::CFaderManager::FadeOut(const CColor& color, uint32_t time, bool autoClear)
{
    Fade(color, time, autoClear, false);
}

void CGuiManager::CFaderManager::Fade(const CColor& color, uint32_t time, bool autoClear, bool fadeIn)
{
    // Times are signed on the way in from scripts: a negative one is no fade.
    if (static_cast<int32_t>(time) <= 0)
        return;
    Clear(false);
    (fadeIn ? m_inTime : m_outTime) = time;
    m_color.Set(color);
    m_autoClear = autoClear;

    gui::IGUIEnvironment* environment = m_manager->GetGuiEnvironment();
    if (environment == nullptr)
        return;
    // Without a rectangle the fader covers the whole of its parent.
    m_element = environment->addInOutFader(nullptr, m_manager->GetGuiParent(), m_id);
    if (m_element == nullptr)
        return;
    m_manager->m_parts->registry.NoteElementId(m_id);
    // Held with a reference: whoever else removes the element from the GUI,
    // this pointer stays valid until the fader lets go of it.
    m_element->grab();
    const video::SColor source = ToIrrlichtColor(m_color);
    video::SColor destination = source;
    destination.setAlpha(0);
    m_element->setColor(source, destination);
    if (fadeIn)
        m_element->fadeIn(time);
    else
        m_element->fadeOut(time);
    CMulticast<Graphics::Multicast::CEvtGraphicsTick>::Subscribe(this, 0);
}

void CGuiManager::CFaderManager::Clear(bool reset)
{
    if (m_element != nullptr)
    {
        CMulticast<Graphics::Multicast::CEvtGraphicsTick>::Unsubscribe(this);
        m_element->remove();
        m_element->drop();
        m_element = nullptr;
    }
    if (reset)
    {
        m_inTime = 0;
        m_outTime = 0;
        m_autoClear = true;
        m_id = -1;
    }
}

bool CGuiManager::CFaderManager::IsComplete() const
{
    return m_element == nullptr || m_element->isReady();
}

bool CGuiManager::CFaderManager::OnEvent(const Graphics::Multicast::CEvtGraphicsTick& tick)
{
    if (tick.engine != m_manager->GetGraphicsEngine())
        return false;
    if (IsComplete() && m_autoClear)
        Clear(false);
    return true;
}

} // namespace Graphics::GUI
