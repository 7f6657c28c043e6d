#pragma once

// What the GUI manager tests share: a NULL device of a chosen size, the
// GUI events recorded in order, and mouse input posted as the device's user
// would post it.

#include "graphics/engine/GraphicsTestSupport.h"

#include "core/foundation/KVOError.h"
#include "gui/manager/GuiManager.h"
#include "support/ErrorOf.h"

#include <gtest/gtest.h>

#include <irrlicht.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// A GUI event as tests compare it.
struct SGuiRecord
{
    std::wstring name;
    uint32_t type;

    bool operator==(const SGuiRecord& other) const { return name == other.name && type == other.type; }
};

inline std::ostream& operator<<(std::ostream& out, const SGuiRecord& record)
{
    std::string name;
    for (wchar_t c : record.name)
        name += static_cast<char>(c < 128 ? c : '?');
    return out << "{\"" << name << "\", " << record.type << "}";
}

// Notes every GUI event; the reply says whether it was handled.
class CGuiRecorder : public Misc::Multicast::CSubscriberOf<Misc::Multicast::Kind::Gui>
{
public:
    using Reply = std::function<bool(const CGuiEvent&)>;

    explicit CGuiRecorder(Reply reply = nullptr) : m_reply(std::move(reply))
    {
        Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Subscribe(this, 0);
    }
    ~CGuiRecorder() override { Misc::Multicast::CMulticastOf<Misc::Multicast::Kind::Gui>::Unsubscribe(this); }
    CGuiRecorder(const CGuiRecorder&) = delete;
    CGuiRecorder& operator=(const CGuiRecorder&) = delete;

    bool OnEvent(const CGuiEvent& event) override
    {
        records.push_back({event.elementName, event.type});
        return m_reply ? m_reply(event) : false;
    }

    // The records of these types only.
    std::vector<SGuiRecord> Of(std::initializer_list<uint32_t> types) const
    {
        std::vector<SGuiRecord> kept;
        for (const SGuiRecord& record : records)
        {
            for (uint32_t type : types)
            {
                if (record.type == type)
                    kept.push_back(record);
            }
        }
        return kept;
    }

    std::vector<SGuiRecord> records;

private:
    Reply m_reply;
};

class CGuiManagerFixture : public ::testing::Test
{
protected:
    // The screen size of the fixture's device.
    virtual std::pair<uint32_t, uint32_t> ScreenSize() const { return {800, 600}; }

    void SetUp() override
    {
        const auto size = ScreenSize();
        ASSERT_TRUE(simulation.InitNull(size.first, size.second));
    }

    irr::gui::IGUIEnvironment* environment() { return simulation.graphics.GetDevice()->getGUIEnvironment(); }
    irr::gui::IGUIElement* root() { return environment()->getRootGUIElement(); }

    // A plain named element under the parent (the GUI parent when null), as
    // the element builders make them.
    irr::gui::IGUIElement* AddNamed(const std::wstring& name, const irr::core::rect<irr::s32>& rect,
                                    irr::gui::IGUIElement* parent = nullptr)
    {
        const int32_t id = gui.RegisterElementName(name, 0);
        return environment()->addStaticText(name.c_str(), rect, false, true,
                                            parent != nullptr ? parent : gui.GetGuiParent(), id);
    }

    void PostMouse(irr::EMOUSE_INPUT_EVENT event, int x, int y)
    {
        irr::SEvent input;
        input.EventType = irr::EET_MOUSE_INPUT_EVENT;
        input.MouseInput.Event = event;
        input.MouseInput.X = x;
        input.MouseInput.Y = y;
        input.MouseInput.Wheel = 0;
        input.MouseInput.Shift = false;
        input.MouseInput.Control = false;
        input.MouseInput.ButtonStates = event == irr::EMIE_LMOUSE_PRESSED_DOWN ? irr::EMBSM_LEFT : 0;
        simulation.graphics.GetDevice()->postEventFromUser(input);
    }

    // A left click at the pixel.
    void Click(int x, int y)
    {
        PostMouse(irr::EMIE_LMOUSE_PRESSED_DOWN, x, y);
        PostMouse(irr::EMIE_LMOUSE_LEFT_UP, x, y);
    }

    // The message of the error the call raises; "" when it raises none.
    // The GUI tests compare wide messages.
    static std::wstring ErrorOf(const std::function<void()>& call) { return WideErrorOf(call); }

    CGraphicsSimulation simulation;
    Graphics::GUI::CGuiManager& gui = *simulation.graphics.GetGuiManager();
};
