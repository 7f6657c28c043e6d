#pragma once

// The data texts that the extended list and combo boxes keep beside their
// items, one per item in item order, and what both boxes answer alike.

#include <cstdint>
#include <string>
#include <vector>

namespace Graphics::GUI
{

// Item access common to the extended list box and combo box, so that the
// manager's item text and data operations serve both kinds.
class IGuiItemList
{
public:
    virtual ~IGuiItemList() = default;
    virtual int32_t GetItemCount() const = 0;
    // "" for an index outside the items.
    virtual std::wstring GetItemText(int32_t index) const = 0;
    std::wstring GetItemData(int32_t index) const { return m_data.Get(index); }
    // Nothing for an index outside the items.
    void SetItemData(int32_t index, const std::wstring& data) { m_data.Set(index, data); }
    int32_t FindItemByData(const std::wstring& data) const { return m_data.Find(data); }

protected:
    class CDataList
    {
    public:
        bool IsValid(int32_t index) const
        {
            return index >= 0 && static_cast<size_t>(index) < m_texts.size();
        }
        void Insert(int32_t index, const std::wstring& data)
        {
            m_texts.insert(m_texts.begin() + index, data);
        }
        void Append(const std::wstring& data) { m_texts.push_back(data); }
        void Erase(int32_t index) { m_texts.erase(m_texts.begin() + index); }
        void Clear() { m_texts.clear(); }
        std::wstring Get(int32_t index) const { return IsValid(index) ? m_texts[index] : std::wstring(); }
        void Set(int32_t index, const std::wstring& data)
        {
            if (IsValid(index))
                m_texts[index] = data;
        }
        int32_t Find(const std::wstring& data) const
        {
            for (size_t index = 0; index < m_texts.size(); ++index)
            {
                if (m_texts[index] == data)
                    return static_cast<int32_t>(index);
            }
            return -1;
        }

    private:
        std::vector<std::wstring> m_texts;
    };

    CDataList m_data;
};

} // namespace Graphics::GUI
