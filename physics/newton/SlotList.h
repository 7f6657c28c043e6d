#pragma once

// Owned items in the order they were added, each knowing its slot (the
// member `size_t slot`): one is freed in constant time, leaving its slot
// empty, and the empty slots are closed up once they are as many as the
// items left, so a list whose items go one by one costs a constant
// amortised time per item. Index loops (`SlotCount`, `At`) skip empty
// slots; slots move only in `CloseUp`.

#include <cstddef>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

template <class T> class SlotList
{
public:
    class Iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T*;
        using difference_type = std::ptrdiff_t;
        using pointer = T* const*;
        using reference = T*;

        Iterator(const std::unique_ptr<T>* at, const std::unique_ptr<T>* end) : m_at(at), m_end(end)
        {
            SkipEmpty();
        }
        T* operator*() const { return m_at->get(); }
        Iterator& operator++()
        {
            ++m_at;
            SkipEmpty();
            return *this;
        }
        bool operator==(const Iterator& other) const { return m_at == other.m_at; }
        bool operator!=(const Iterator& other) const { return m_at != other.m_at; }

    private:
        void SkipEmpty()
        {
            while (m_at != m_end && !*m_at)
                ++m_at;
        }
        const std::unique_ptr<T>* m_at;
        const std::unique_ptr<T>* m_end;
    };

    T* Add(std::unique_ptr<T> item)
    {
        item->slot = m_slots.size();
        m_slots.push_back(std::move(item));
        ++m_count;
        return m_slots.back().get();
    }

    // Frees the item; its slot stays empty until CloseUp.
    void Free(T* item)
    {
        m_slots[item->slot].reset();
        --m_count;
    }

    // Closes up the empty slots once they are at least as many as the
    // items (and more than a few).
    void CloseUp()
    {
        constexpr size_t kFewEmpty = 32;
        const size_t empty = m_slots.size() - m_count;
        if (empty <= kFewEmpty || empty < m_count)
            return;
        size_t kept = 0;
        for (size_t i = 0; i < m_slots.size(); ++i)
        {
            if (!m_slots[i])
                continue;
            m_slots[i]->slot = kept;
            if (i != kept)
                m_slots[kept] = std::move(m_slots[i]);
            ++kept;
        }
        m_slots.resize(kept);
    }

    void clear()
    {
        m_slots.clear();
        m_count = 0;
    }

    // The items held.
    size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    // Slots, empty ones included; At(i) is null for an empty one.
    size_t SlotCount() const { return m_slots.size(); }
    T* At(size_t slot) const { return m_slots[slot].get(); }

    Iterator begin() const { return Iterator(m_slots.data(), m_slots.data() + m_slots.size()); }
    Iterator end() const
    {
        return Iterator(m_slots.data() + m_slots.size(), m_slots.data() + m_slots.size());
    }

private:
    std::vector<std::unique_ptr<T>> m_slots;
    size_t m_count = 0;
};
