#pragma once

// Moves every child of one parent element across that parent at a constant
// speed, one step per period of the graphics tick: credits, tickers and
// marquees. Elements handed to a scroller enter from outside the parent's
// area behind the ones already there, travel across, and once they have
// left the area they are removed (or stay where they stopped).
//
// The GUI manager keeps one scroller per parent (CGuiManager::AddScroller).
// A scroller holds a reference on its parent and on every child it tracks,
// so none of them dangles whoever else removes them; one whose parent has
// left the GUI drops itself at its next step.

#include "core/events/Multicast.h"
#include "core/foundation/Point.h"

#include <cstdint>
#include <map>
#include <memory>

namespace irr::gui
{
class IGUIElement;
}

namespace Graphics::GUI
{

class CGuiManager;

class CScroller : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsTick>,
                  public std::enable_shared_from_this<CScroller>
{
public:
    // Speeds below this magnitude are no movement on their axis.
    static constexpr float kDeadBand = 0.001f;

    // Holds a reference on the parent. The first step is due at nextDue
    // (milliseconds of the graphics tick).
    CScroller(CGuiManager* manager, irr::gui::IGUIElement* parent, float speedX, float speedY,
              uint32_t period, bool removeWhenOut, uint32_t nextDue);
    ~CScroller() override;
    CScroller(const CScroller&) = delete;
    CScroller& operator=(const CScroller&) = delete;

    // Makes the element a child of the parent, placed where it enters
    // behind the children there: left of them all when moving right, right
    // of them all when moving left (above or below alike); on an axis
    // without movement it keeps its own coordinate.
    void Add(irr::gui::IGUIElement* element);

    // Stops listening to the tick and lets go of the parent and the
    // children: the scroller moves nothing any more.
    void Detach();

    // At each due time moves every child by the time since the previous
    // step times the speeds, and removes (or leaves) those that have left
    // the parent's area. Never handles the tick.
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsTick& tick) override;

    /// The element whose children scroll; the scroller holds one reference while it lives.
    irr::gui::IGUIElement* GetParent() const { return m_parent; }
    float GetSpeedX() const { return m_speedX; }
    uint32_t GetPeriod() const { return m_period; }
    bool GetRemoveWhenOut() const { return m_removeWhenOut; }
    uint32_t GetNextDue() const { return m_nextDue; }
    // The child's upper-left corner in screen fractions as the scroller
    // keeps it; false for an element it does not track.
    bool GetChildPosition(irr::gui::IGUIElement* element, CPoint& position) const;

private:
    // Screen fractions of pixels; a screen side of 0 counts as 1 pixel.
    float ToFractionX(double pixels) const;
    float ToFractionY(double pixels) const;
    // Places the child at the point in screen fractions (relative to the
    // parent).
    void MoveChild(irr::gui::IGUIElement* child, const CPoint& position);
    // Whether the parent still hangs below the GUI's root.
    bool IsParentInGui() const;
    // One step at time now.
    void Step(uint32_t now);
    // Forgets the children that are no longer the parent's.
    void ForgetStrayChildren();
    void ForgetChild(std::map<irr::gui::IGUIElement*, CPoint>::iterator entry);

    CGuiManager* m_manager;
    float m_speedX;
    float m_speedY;
    irr::gui::IGUIElement* m_parent;
    uint32_t m_period;
    bool m_removeWhenOut;
    uint32_t m_nextDue;
    // When the previous step ran: steps move by the time that has really
    // passed since, the first one by one period.
    uint32_t m_lastStep = 0;
    bool m_stepped = false;
    // Each key is held with a reference.
    std::map<irr::gui::IGUIElement*, CPoint> m_positions;
};

} // namespace Graphics::GUI
