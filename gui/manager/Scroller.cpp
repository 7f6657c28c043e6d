#include "gui/manager/Scroller.h"

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiElementHold.h"
#include "gui/manager/GuiManager.h"
#include "gui/manager/GuiScrollers.h"

#include <irrlicht.h>

#include <algorithm>

namespace Graphics::GUI
{

using namespace irr;
using TickChannel = Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsTick>;

namespace
{

// A speed above this places a new element before the others on its axis.
constexpr float kStartThreshold = 0.000001f;

} // namespace

CScroller::CScroller(CGuiManager* manager, gui::IGUIElement* parent, float speedX, float speedY,
                     uint32_t period, bool removeWhenOut, uint32_t nextDue)
    : m_manager(manager), m_speedX(speedX), m_speedY(speedY), m_parent(parent), m_period(period),
      m_removeWhenOut(removeWhenOut), m_nextDue(nextDue)
{
    if (m_parent != nullptr)
        m_parent->grab();
}

CScroller::~CScroller()
{
    Detach();
}

void CScroller::Detach()
{
    TickChannel::Unsubscribe(this);
    // Emptied before the references go: dropping one may destroy an element
    // whose destruction reaches nothing of ours, but the map is left
    // consistent whatever happens.
    std::map<gui::IGUIElement*, CPoint> positions;
    positions.swap(m_positions);
    for (auto& entry : positions)
        entry.first->drop();
    gui::IGUIElement* parent = m_parent;
    m_parent = nullptr;
    if (parent != nullptr)
        parent->drop();
}

float CScroller::ToFractionX(double pixels) const
{
    return static_cast<float>(pixels / std::max<uint32_t>(m_manager->GetScreenWidth(), 1));
}

float CScroller::ToFractionY(double pixels) const
{
    return static_cast<float>(pixels / std::max<uint32_t>(m_manager->GetScreenHeight(), 1));
}

void CScroller::MoveChild(gui::IGUIElement* child, const CPoint& position)
{
    // Straight to pixels: a position far outside the screen (a long queue
    // of elements waiting to enter) stays a fraction, whatever its size.
    const double width = std::max<uint32_t>(m_manager->GetScreenWidth(), 1);
    const double height = std::max<uint32_t>(m_manager->GetScreenHeight(), 1);
    m_manager->SetElementPosition(
        child, CPoint(static_cast<float>(position.x * width), static_cast<float>(position.y * height)));
}

bool CScroller::GetChildPosition(gui::IGUIElement* element, CPoint& position) const
{
    const auto entry = m_positions.find(element);
    if (entry == m_positions.end())
        return false;
    position = entry->second;
    return true;
}

void CScroller::Add(gui::IGUIElement* element)
{
    if (m_parent == nullptr)
        throw Misc::Error::CKVOError(L"[CGuiManager::AddToScroller] Scroller does not exist");
    // An element that holds the parent would become its own ancestor.
    if (element == nullptr || element == m_parent || element->isMyChild(m_parent))
        throw Misc::Error::CKVOError(L"[CGuiManager::AddToScroller] Invalid element");

    CPoint size;
    CPoint position;
    m_manager->GetElementSize(element, size);
    m_manager->GetElementPosition(element, position);
    const float parentWidth = ToFractionX(m_parent->getRelativePosition().getWidth());
    const float parentHeight = ToFractionY(m_parent->getRelativePosition().getHeight());
    const bool right = m_speedX > kStartThreshold;
    const bool left = m_speedX < -kStartThreshold;
    const bool down = m_speedY > kStartThreshold;
    const bool up = m_speedY < -kStartThreshold;
    float x = right ? -size.x : (left ? parentWidth : position.x);
    float y = down ? -size.y : (up ? parentHeight : position.y);
    for (gui::IGUIElement* child : m_parent->getChildren())
    {
        if (child == element || child->isSubElement())
            continue;
        CPoint childPosition;
        CPoint childSize;
        m_manager->GetElementPosition(child, childPosition);
        m_manager->GetElementSize(child, childSize);
        if (right)
            x = std::min(x, childPosition.x - size.x);
        else if (left)
            x = std::max(x, childPosition.x + childSize.x);
        if (down)
            y = std::min(y, childPosition.y - size.y);
        else if (up)
            y = std::max(y, childPosition.y + childSize.y);
    }

    m_parent->addChild(element);
    const auto [entry, inserted] = m_positions.try_emplace(element, x, y);
    if (inserted)
        element->grab();
    else
        entry->second = CPoint(x, y);
    MoveChild(element, entry->second);
}

bool CScroller::IsParentInGui() const
{
    gui::IGUIEnvironment* environment = m_manager->GetGuiEnvironment();
    if (environment == nullptr || m_parent == nullptr)
        return false;
    const gui::IGUIElement* root = environment->getRootGUIElement();
    for (const gui::IGUIElement* element = m_parent; element != nullptr; element = element->getParent())
    {
        if (element == root)
            return true;
    }
    return false;
}

bool CScroller::OnEvent(const Graphics::Multicast::CEvtGraphicsTick& tick)
{
    if (m_parent == nullptr || tick.engine != m_manager->GetGraphicsEngine())
        return false;
    // Times wrap around: a due time "ahead" is at most half the clock away.
    if (static_cast<int32_t>(tick.time - m_nextDue) < 0)
        return false;
    // A script answering a removal made here may drop this scroller: it
    // lives to the end of the step.
    const std::shared_ptr<CScroller> self = weak_from_this().lock();
    if (!IsParentInGui())
    {
        gui::IGUIElement* parent = m_parent;
        if (m_manager->GetScrollers().Find(parent) == this)
            m_manager->GetScrollers().Remove(parent);
        else
            Detach();
        return false;
    }
    Step(tick.time);
    return false;
}

void CScroller::Step(uint32_t now)
{
    // The first step moves one period's worth: a scroller made before the
    // loop runs has a due time from long ago, and would jump by all of it.
    const uint32_t elapsed = m_stepped ? now - m_lastStep : m_period;
    const float seconds = static_cast<float>(elapsed) / 1000.0f;
    m_lastStep = now;
    m_stepped = true;
    // The next step is one whole period after the last due time that has
    // passed, so a tick exactly on time does not step twice.
    if (m_period == 0)
        m_nextDue = now;
    else
        m_nextDue += static_cast<uint32_t>((uint64_t((now - m_nextDue) / m_period) + 1) * m_period);

    const float parentWidth = ToFractionX(m_parent->getRelativePosition().getWidth());
    const float parentHeight = ToFractionY(m_parent->getRelativePosition().getHeight());
    const CGuiHeldChildren children(m_parent);
    for (gui::IGUIElement* child : children)
    {
        // Scripts answering a removal may have dropped the scroller or moved
        // children elsewhere meanwhile.
        if (m_parent == nullptr)
            return;
        if (child->getParent() != m_parent || child->isSubElement())
            continue;
        auto entry = m_positions.find(child);
        if (entry == m_positions.end())
        {
            // A child the scroller was not given starts from the corner.
            entry = m_positions.emplace(child, CPoint(0.0f, 0.0f)).first;
            child->grab();
        }
        CPoint& position = entry->second;
        CPoint size;
        m_manager->GetElementSize(child, size);
        const bool out = (m_speedX > kDeadBand && position.x > parentWidth) ||
                         (m_speedX < -kDeadBand && position.x + size.x < 0.0f) ||
                         (m_speedY > kDeadBand && position.y > parentHeight) ||
                         (m_speedY < -kDeadBand && position.y + size.y < 0.0f);
        if (!out)
        {
            position.x += seconds * m_speedX;
            position.y += seconds * m_speedY;
            MoveChild(child, position);
        }
        else if (m_removeWhenOut)
        {
            m_manager->RemoveElement(child, true);
            // A child kept by a script stays where it is, and keeps its
            // place here.
            if (m_parent == nullptr)
                return;
            const auto removed = m_positions.find(child);
            if (removed != m_positions.end() && child->getParent() != m_parent)
                ForgetChild(removed);
        }
    }
    ForgetStrayChildren();
}

void CScroller::ForgetStrayChildren()
{
    for (auto entry = m_positions.begin(); entry != m_positions.end();)
    {
        auto next = std::next(entry);
        if (entry->first->getParent() != m_parent)
            ForgetChild(entry);
        entry = next;
    }
}

void CScroller::ForgetChild(std::map<gui::IGUIElement*, CPoint>::iterator entry)
{
    gui::IGUIElement* element = entry->first;
    m_positions.erase(entry);
    element->drop();
}

} // namespace Graphics::GUI
