#pragma once

// Named key actions. Scripts and the camera bind one or more keys, each
// optionally with Shift and/or Control, to an action name, then ask whether
// the action is on (a bound key is held), toggled (flips at every release)
// or clicked (toggled, read once). The map follows the key event channel
// itself, so its states stay current without polling, and saves its
// bindings as ".kvokey" files (type tag "KVOKEYMAP").
//
// The GUI manager owns the process's one key map and names it
// CGuiManager::CInputKeyMap; errors carry that name.

#include "core/events/Multicast.h"
#include "core/io/DataBag.h"
#include "core/io/Serializable.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

class CApplication;

namespace Graphics::GUI
{

class CInputKeyMap : public Misc::Multicast::CSubscriber<Graphics::Multicast::CEvtGraphicsKeyEvent>,
                     public Misc::Serialization::ISerializable
{
public:
    // One binding of an action.
    struct SActionKeyCode
    {
        std::wstring description;
        // An Irrlicht key code (the Windows virtual-key numbering).
        uint16_t keyCode = 0;
        // The binding wants Shift (Control) held.
        bool shift = false;
        bool control = false;
        // The key is held as far as this binding is concerned.
        bool on = false;
        // Flips each time the binding goes from on to off.
        bool toggled = false;
    };

    using KeyCodeList = std::vector<SActionKeyCode>;
    // Action names compare by their UTF-16 units, case-sensitively, the
    // order in which stored files and scripts see them.
    using ActionMap = std::map<std::wstring, KeyCodeList, CUtf16Less>;

    // The key map sees every key event before any other subscriber.
    static constexpr int32_t kEventPriority = std::numeric_limits<int32_t>::max();
    static constexpr uint16_t kShiftKeyCode = 0x10;
    static constexpr uint16_t kControlKeyCode = 0x11;

    // Subscribes to the key channel. Load finds files through the
    // application's file lookup; without an application it finds none.
    explicit CInputKeyMap(const CApplication* application);
    ~CInputKeyMap() override;

    CInputKeyMap(const CInputKeyMap&) = delete;
    CInputKeyMap& operator=(const CInputKeyMap&) = delete;

    // Appends a binding (on and toggled false), creating the action when
    // absent. The same key may be bound twice. A description with "|" (the
    // saved form's separator, which has no escape) is refused.
    void AddActionKeyCode(const std::wstring& action, const std::wstring& description, uint16_t keyCode,
                          bool shift, bool control);
    // Throws CKVOError, naming the method, when the description cannot be
    // saved and read back as it is.
    static void CheckDescription(const std::wstring& description, const wchar_t* method);
    // True for an action in the map, even one without bindings.
    bool ActionExists(const std::wstring& action) const;
    // An unknown action changes nothing.
    void RemoveAction(const std::wstring& action);
    void Clear();
    // Clears on and toggled in every binding.
    void Reset();

    // The binding at the 1-based index, clamped to the first or the last
    // one; the caller may change it in place. Throws CKVOError when the
    // action is unknown or has no bindings.
    SActionKeyCode& GetKeyCode(const std::wstring& action, int32_t index);
    // The number of bindings of the action; 0 for an unknown action, which
    // stays unknown.
    size_t GetActionKeyCount(const std::wstring& action) const;
    // The same for scripts: an unknown action is added, without bindings.
    size_t CountActionKeys(const std::wstring& action)
    {
        const size_t count = m_actions.size();
        const size_t keys = m_actions[action].size();
        if (m_actions.size() != count)
            NewLayout();
        return keys;
    }
    size_t GetActionCount() const { return m_actions.size(); }
    // The action names in map order, copied, so that whoever walks them may
    // change the map meanwhile.
    std::vector<std::wstring> GetActionNames() const;
    const ActionMap& GetActions() const { return m_actions; }

    // Whole-action states; unknown actions answer false or change nothing.
    bool IsActionOn(const std::wstring& action) const;
    static bool IsAnyOn(const KeyCodeList& bindings);

    // For code that asks the same actions many times a second: the
    // bindings of an action (null when unknown) stay where they are, and
    // follow the keys, until the set of actions changes, which changes the
    // layout stamp. Stamps are unique in the process, so a stamp never
    // matches another key map's.
    const KeyCodeList* FindBindings(const std::wstring& action) const;
    uint64_t GetLayoutStamp() const { return m_layoutStamp; }
    void SetActionOn(const std::wstring& action, bool on);
    bool IsActionToggled(const std::wstring& action) const;
    void SetActionToggled(const std::wstring& action, bool toggled);
    // IsActionToggled; with consume, toggled is cleared afterwards so each
    // click is reported once.
    bool IsActionClicked(const std::wstring& action, bool consume);

    // Adds the bindings of the file found by its name, or its name with
    // ".kvokey", in the folder (empty: through the search paths). A missing
    // or unreadable file leaves the map as it was. Returns the number of
    // actions afterwards.
    size_t Load(const std::wstring& fileName, const std::wstring& folder = std::wstring());
    // mode: "COMPRESSED", "BINARY" or a text encoding such as "UTF8".
    // Returns the number of actions when the file was written, else 0.
    size_t Save(const std::wstring& fileName, const std::string& mode);

    // Updates every binding the key event applies to; never handles it.
    bool OnEvent(const Graphics::Multicast::CEvtGraphicsKeyEvent& event) override;

    // One data bag entry per action: "0x57:Forward|0x26+0x10:Sprint|".
    // On and toggled are not saved.
    bool Write(Misc::Serialization::IArchive& archive) override;
    // Adds the archive's bindings to the map. A damaged block throws the
    // archive's error before anything is added.
    bool Read(Misc::Serialization::IArchive& archive) override;
    uint32_t GetVersion() const override { return Misc::Serialization::kSerialVersion; }
    uint32_t GetMinimumVersion() const override { return Misc::Serialization::kSerialMinimumVersion; }
    const char* GetTypeName() const override { return "KVOKEYMAP"; }

private:
    // Actions were added or removed.
    void NewLayout();

    const CApplication* m_application;
    ActionMap m_actions;
    uint64_t m_layoutStamp = 0;
};

} // namespace Graphics::GUI
