#pragma once

#include "core/events/Multicast.h"
#include "core/foundation/Color.h"
#include "gui/manager/GuiManager.h"

#include <cstdint>

namespace irr::gui
{
class IGUIInOutFader;
}

namespace Graphics::GUI
{

// Fades the whole screen from a colour to transparent (fade-in) or back
// (fade-out) with an Irrlicht in/out fader element. While a fade exists
// it listens to the graphics tick, and with auto-clear it removes the
// finished fader there.
class CGuiManager::CFaderManager : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsTick>
{
public:
    explicit CFaderManager(CGuiManager* manager);
    ~CFaderManager() override;
    CFaderManager(const CFaderManager&) = delete;
    CFaderManager& operator=(const CFaderManager&) = delete;

    // Stores the fade colour, both times (milliseconds) and the id, and
    // switches auto-clear on.
    void Configure(int32_t id, const CColor& color, uint32_t inTime, uint32_t outTime);
    // A fade of time milliseconds from the colour (in) or to it (out);
    // nothing for a time of 0. Replaces a running fade.
    void FadeIn(const CColor& color, uint32_t time, bool autoClear);
    void FadeOut(const CColor& color, uint32_t time, bool autoClear);
    // Removes the fader element; with reset also both times, the id and
    // auto-clear go back to their start values.
    void Clear(bool reset);
    // True when no fader element exists or its fade has run its time.
    bool IsComplete() const;

    bool OnEvent(const Graphics::Multicast::CEvtGraphicsTick& tick) override;

    const CColor& GetColor() const { return m_color; }
    uint32_t GetInTime() const { return m_inTime; }
    uint32_t GetOutTime() const { return m_outTime; }
    int32_t GetId() const { return m_id; }

private:
    void Fade(const CColor& color, uint32_t time, bool autoClear, bool fadeIn);

    int32_t m_id = -1;
    CColor m_color;
    uint32_t m_inTime = 0;
    uint32_t m_outTime = 0;
    bool m_autoClear = true;
    CGuiManager* m_manager;
    irr::gui::IGUIInOutFader* m_element = nullptr;
};

} // namespace Graphics::GUI
