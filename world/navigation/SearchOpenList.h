#pragma once

// The open list of a best-first search: entries of f and a node number,
// taken least f first and, among equal f, least node first. Node numbers
// only grow between two Clears, which the list uses: entries of one f that
// arrive one after another are already in order, so they queue in a run
// instead of the heap. Searches where many nodes share an f (grids of
// equal costs) then keep their heap small or empty; elsewhere the runs
// stay short and the heap does the work. The entries come out in the same
// order either way.

#include <cstddef>
#include <cstdint>
#include <queue>
#include <vector>

class CSearchOpenList
{
public:
    struct SEntry
    {
        float f;
        uint32_t node;
    };

    // Empties the list, keeping its memory.
    void Clear()
    {
        m_heap.Clear();
        for (SRun& run : m_runs)
            run.Clear();
    }
    bool Empty() const { return m_heap.empty() && m_runs[0].Empty() && m_runs[1].Empty(); }
    // The entry's node is greater than that of every entry pushed since the
    // last Clear.
    void Push(const SEntry& entry)
    {
        // An f that is not a number equals none, a run's included.
        if (entry.f != entry.f)
            return m_heap.push(entry);
        for (SRun& run : m_runs)
        {
            if (!run.Empty() && run.f == entry.f)
                return run.Append(entry);
        }
        for (SRun& run : m_runs)
        {
            if (run.Empty())
                return run.Append(entry);
        }
        m_heap.push(entry);
    }
    // The least entry; the list is not empty.
    const SEntry& Top() const
    {
        const SEntry* least = m_heap.empty() ? nullptr : &m_heap.top();
        for (const SRun& run : m_runs)
        {
            if (!run.Empty() && (least == nullptr || SLater()(*least, run.Front())))
                least = &run.Front();
        }
        return *least;
    }
    void Pop()
    {
        const SEntry* top = &Top();
        for (SRun& run : m_runs)
        {
            if (!run.Empty() && &run.Front() == top)
                return run.PopFront();
        }
        m_heap.pop();
    }

private:
    // The heap's top is the least f, then the least node.
    struct SLater
    {
        bool operator()(const SEntry& a, const SEntry& b) const
        {
            return a.f > b.f || (!(b.f > a.f) && a.node > b.node);
        }
    };
    struct SHeap : std::priority_queue<SEntry, std::vector<SEntry>, SLater>
    {
        void Clear() { this->c.clear(); }
    };
    // Entries of one f in the order of their nodes, taken from the front.
    struct SRun
    {
        bool Empty() const { return head == entries.size(); }
        const SEntry& Front() const { return entries[head]; }
        void Append(const SEntry& entry)
        {
            if (Empty())
            {
                Clear();
                f = entry.f;
            }
            entries.push_back(entry);
        }
        void PopFront()
        {
            ++head;
            // A run that is fed as fast as it is taken gives back the taken
            // part now and then, so it holds no more than twice what is open.
            if (head >= kCompactAt && head * 2 >= entries.size())
            {
                entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(head));
                head = 0;
            }
        }
        void Clear()
        {
            entries.clear();
            head = 0;
        }

        static constexpr size_t kCompactAt = 1024;
        std::vector<SEntry> entries;
        size_t head = 0;
        float f = 0.0f;
    };

    SHeap m_heap;
    SRun m_runs[2];
};
