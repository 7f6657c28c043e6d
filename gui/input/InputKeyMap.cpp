#include "gui/input/InputKeyMap.h"

#include "core/app/Application.h"
#include "core/foundation/KVOError.h"
#include "core/foundation/Logger.h"
#include "core/foundation/Singleton.h"
#include "core/foundation/StringTokenizer.h"
#include "core/foundation/TextUtilities.h"
#include "core/io/ArchiveHandle.h"
#include "core/io/File.h"
#include "core/io/SaveFile.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <string_view>

namespace Graphics::GUI
{

namespace
{

using KeyChannel = Misc::Multicast::CMulticast<Graphics::Multicast::CEvtGraphicsKeyEvent>;

void LogError(const Misc::Error::CKVOError& error)
{
    Misc::CLogger* logger = Misc::Singleton::CSingleton<Misc::CLogger>::Instance();
    logger->Write(logger->GetSystemLevel(), false, L"%s", error.GetMessage().c_str());
}

// A piece of a codes part with "+": trimmed, "0x..." hexadecimal, anything
// else decimal.
int32_t ReadCodeNumber(const std::wstring& piece)
{
    size_t first = 0;
    size_t last = piece.size();
    while (first < last && std::iswspace(static_cast<wint_t>(piece[first])))
        ++first;
    while (last > first && std::iswspace(static_cast<wint_t>(piece[last - 1])))
        --last;
    const std::wstring_view trimmed = std::wstring_view(piece).substr(first, last - first);
    if (trimmed.substr(0, 2) == L"0x")
        return static_cast<int32_t>(ConvertHexStringToInt(trimmed));
    return ConvertDecimalStringToInt(trimmed);
}

// One stored binding: the codes part up to the first ":", the description
// after it.
CInputKeyMap::SActionKeyCode ParseBinding(const std::wstring& binding)
{
    CInputKeyMap::SActionKeyCode record;
    const size_t colon = binding.find(L':');
    const std::wstring codes = binding.substr(0, colon);
    if (colon != std::wstring::npos)
        record.description = binding.substr(colon + 1);

    if (codes.find(L'+') == std::wstring::npos)
    {
        // Key codes are 16-bit; longer numbers keep their low bits.
        record.keyCode = static_cast<uint16_t>(ConvertHexStringToInt(codes));
        return record;
    }

    std::vector<int32_t> numbers;
    CStringTokenizer pieces(codes);
    std::wstring piece;
    while (pieces.NextToken(L'+', piece))
        numbers.push_back(ReadCodeNumber(piece));

    // The writer puts the key code first and the modifiers after it. When
    // every number names a modifier, the key itself is Shift or Control,
    // and the first number is that key rather than one more modifier.
    const bool onlyModifiers = std::all_of(numbers.begin(), numbers.end(),
                                           [](int32_t number) { return number == 0x10 || number == 0x11; });
    size_t next = 0;
    if (onlyModifiers && !numbers.empty())
        record.keyCode = static_cast<uint16_t>(numbers[next++]);
    for (; next < numbers.size(); ++next)
    {
        if (numbers[next] == CInputKeyMap::kShiftKeyCode)
            record.shift = true;
        else if (numbers[next] == CInputKeyMap::kControlKeyCode)
            record.control = true;
        else
            record.keyCode = static_cast<uint16_t>(numbers[next]);
    }
    return record;
}

} // namespace

CInputKeyMap::CInputKeyMap(const CApplication* application) : m_application(application)
{
    NewLayout();
    KeyChannel::Subscribe(this, kEventPriority);
}

CInputKeyMap::~CInputKeyMap()
{
    KeyChannel::Unsubscribe(this);
}

void CInputKeyMap::AddActionKeyCode(const std::wstring& action, const std::wstring& description,
                                    uint16_t keyCode, bool shift, bool control)
{
    CheckDescription(description, L"CGuiManager::CInputKeyMap::AddActionKeyCode");
    SActionKeyCode record;
    record.description = description;
    record.keyCode = keyCode;
    record.shift = shift;
    record.control = control;
    const size_t count = m_actions.size();
    m_actions[action].push_back(std::move(record));
    if (m_actions.size() != count)
        NewLayout();
}

void CInputKeyMap::NewLayout()
{
    static std::atomic<uint64_t> s_lastStamp{0};
    m_layoutStamp = ++s_lastStamp;
}

const CInputKeyMap::KeyCodeList* CInputKeyMap::FindBindings(const std::wstring& action) const
{
    const auto found = m_actions.find(action);
    return found != m_actions.end() ? &found->second : nullptr;
}

bool CInputKeyMap::IsAnyOn(const KeyCodeList& bindings)
{
    return std::any_of(bindings.begin(), bindings.end(),
                       [](const SActionKeyCode& record) { return record.on; });
}

void CInputKeyMap::CheckDescription(const std::wstring& description, const wchar_t* method)
{
    if (description.find(L'|') != std::wstring::npos)
        throw Misc::Error::CKVOError::Format(L"[%s] A key description may not contain \"|\":%s", method,
                                             description.c_str());
}

bool CInputKeyMap::ActionExists(const std::wstring& action) const
{
    return m_actions.find(action) != m_actions.end();
}

void CInputKeyMap::RemoveAction(const std::wstring& action)
{
    if (m_actions.erase(action) != 0)
        NewLayout();
}

void CInputKeyMap::Clear()
{
    m_actions.clear();
    NewLayout();
}

void CInputKeyMap::Reset()
{
    for (auto& [name, records] : m_actions)
    {
        for (SActionKeyCode& record : records)
        {
            record.on = false;
            record.toggled = false;
        }
    }
}

CInputKeyMap::SActionKeyCode& CInputKeyMap::GetKeyCode(const std::wstring& action, int32_t index)
{
    const auto found = m_actions.find(action);
    if (found == m_actions.end() || found->second.empty())
        throw Misc::Error::CKVOError::Format(
            L"[CGuiManager::CInputKeyMap::GetKeyCode] Key code action name not found:%s, %i", action.c_str(),
            index);
    KeyCodeList& records = found->second;
    if (index < 1)
        return records.front();
    if (static_cast<size_t>(index) > records.size())
        return records.back();
    return records[static_cast<size_t>(index) - 1];
}

size_t CInputKeyMap::GetActionKeyCount(const std::wstring& action) const
{
    const auto found = m_actions.find(action);
    return found == m_actions.end() ? 0 : found->second.size();
}

std::vector<std::wstring> CInputKeyMap::GetActionNames() const
{
    std::vector<std::wstring> names;
    names.reserve(m_actions.size());
    for (const auto& entry : m_actions)
        names.push_back(entry.first);
    return names;
}

bool CInputKeyMap::IsActionOn(const std::wstring& action) const
{
    const auto found = m_actions.find(action);
    if (found == m_actions.end())
        return false;
    return std::any_of(found->second.begin(), found->second.end(),
                       [](const SActionKeyCode& record) { return record.on; });
}

void CInputKeyMap::SetActionOn(const std::wstring& action, bool on)
{
    const auto found = m_actions.find(action);
    if (found == m_actions.end())
        return;
    for (SActionKeyCode& record : found->second)
        record.on = on;
}

bool CInputKeyMap::IsActionToggled(const std::wstring& action) const
{
    const auto found = m_actions.find(action);
    if (found == m_actions.end())
        return false;
    return std::any_of(found->second.begin(), found->second.end(),
                       [](const SActionKeyCode& record) { return record.toggled; });
}

void CInputKeyMap::SetActionToggled(const std::wstring& action, bool toggled)
{
    const auto found = m_actions.find(action);
    if (found == m_actions.end())
        return;
    for (SActionKeyCode& record : found->second)
        record.toggled = toggled;
}

bool CInputKeyMap::IsActionClicked(const std::wstring& action, bool consume)
{
    const bool clicked = IsActionToggled(action);
    if (consume)
        SetActionToggled(action, false);
    return clicked;
}

size_t CInputKeyMap::Load(const std::wstring& fileName, const std::wstring& folder)
{
    if (m_application == nullptr)
        return m_actions.size();
    const CFilePtr file(m_application->OpenFile(fileName, {L".kvokey"}, folder));
    if (!file)
        return m_actions.size();
    try
    {
        Misc::Serialization::LoadSerializable(*this, file.get());
    }
    catch (const Misc::Error::CKVOError& error)
    {
        // Read adds nothing before the whole block has been read, so the
        // map is as it was.
        LogError(error);
    }
    return m_actions.size();
}

size_t CInputKeyMap::Save(const std::wstring& fileName, const std::string& mode)
{
    try
    {
        if (Misc::Serialization::SaveSerializable(*this, fileName, mode.c_str()))
            return m_actions.size();
    }
    catch (const Misc::Error::CKVOError& error)
    {
        LogError(error);
    }
    return 0;
}

bool CInputKeyMap::OnEvent(const Graphics::Multicast::CEvtGraphicsKeyEvent& event)
{
    for (auto& [name, records] : m_actions)
    {
        for (SActionKeyCode& record : records)
        {
            const bool sameKey = event.keyCode == record.keyCode;
            // A press needs the binding's modifiers; a release of the key
            // always ends it. A Shift or Control binding follows every
            // event that has its modifier held.
            const bool applies =
                (sameKey && event.shift == record.shift && event.control == record.control) ||
                (sameKey && !event.pressed) || (record.keyCode == kShiftKeyCode && event.shift) ||
                (record.keyCode == kControlKeyCode && event.control);
            if (!applies)
                continue;
            const bool wasOn = record.on;
            record.on = event.pressed;
            if (wasOn && !event.pressed)
                record.toggled = !record.toggled;
        }
    }
    return false;
}

bool CInputKeyMap::Write(Misc::Serialization::IArchive& archive)
{
    CDataBag bag;
    for (const auto& [name, records] : m_actions)
    {
        std::wstring value;
        for (const SActionKeyCode& record : records)
        {
            value += ConvertIntToHexString(record.keyCode);
            if (record.shift)
                value += L"+" + ConvertIntToHexString(kShiftKeyCode);
            if (record.control)
                value += L"+" + ConvertIntToHexString(kControlKeyCode);
            value += L":" + record.description + L"|";
        }
        bag.Set(name, value);
    }
    return bag.Write(archive);
}

bool CInputKeyMap::Read(Misc::Serialization::IArchive& archive)
{
    CDataBag bag;
    bag.Read(archive);
    for (const auto& [name, value] : bag)
    {
        // An entry without bindings still names an action.
        KeyCodeList& records = m_actions[name];
        CStringTokenizer bindings(value);
        std::wstring binding;
        while (bindings.NextToken(L'|', binding))
            records.push_back(ParseBinding(binding));
    }
    NewLayout();
    return true;
}

} // namespace Graphics::GUI
