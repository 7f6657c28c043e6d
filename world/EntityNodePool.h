#pragma once

// Memory for the nodes of one collection's table. A world holds entities by
// the ten thousand, each in a node of over a kilobyte: taken one by one
// from the general heap they cost a search of its free lists each and end
// up scattered among the heap's small blocks. The pool carves the nodes
// one after another out of blocks of its own, so that entities made in a
// row lie in a row, and gives a block back as soon as none of its nodes is
// in use (keeping one empty block, so that a collection that makes and
// destroys one entity at a time does not take and return a block each
// time).
//
// CEntityNodeAllocator hands the table's nodes to the pool; anything else
// the table asks for (an allocation of another size or of several objects)
// goes to the general heap. A pool serves one table and one thread.

#include <cstddef>
#include <memory>
#include <new>

class CEntityNodePool
{
public:
    CEntityNodePool() = default;
    // Every slot has been given back by then.
    ~CEntityNodePool();
    CEntityNodePool(const CEntityNodePool&) = delete;
    CEntityNodePool& operator=(const CEntityNodePool&) = delete;

    // A slot of the size the pool serves; the first request sets the size.
    // Null when the size is not the pool's or the alignment is more than a
    // slot has: the caller then uses the general heap.
    void* Allocate(size_t size, size_t alignment);
    // Whether Allocate serves requests of the size.
    bool Serves(size_t size) const { return size == m_size; }
    // Gives back a slot Allocate gave.
    void Release(void* slot);

    // The blocks held now, the empty one kept included (for tests).
    size_t GetBlockCount() const { return m_blocks; }

private:
    struct SBlock;
    // Slots are this far apart at least, and every slot starts on it.
    static constexpr size_t kAlignment = alignof(std::max_align_t);

    SBlock* NewBlock();
    void Open(SBlock* block);
    void Close(SBlock* block);
    void Free(SBlock* block);

    // The slot size served (0 before the first request) and the stride of
    // the slots, their block's address in front of each.
    size_t m_size = 0;
    size_t m_stride = 0;
    // Blocks with a free or uncarved slot, most recently opened first.
    SBlock* m_open = nullptr;
    // An empty block kept for the next slot.
    SBlock* m_spare = nullptr;
    size_t m_blocks = 0;
};

template <class T> class CEntityNodeAllocator
{
public:
    using value_type = T;

    explicit CEntityNodeAllocator(CEntityNodePool* pool) noexcept : m_pool(pool) {}
    template <class U>
    CEntityNodeAllocator(const CEntityNodeAllocator<U>& other) noexcept : m_pool(other.GetPool())
    {
    }

    T* allocate(size_t count)
    {
        if (count == 1 && m_pool != nullptr)
        {
            if (void* slot = m_pool->Allocate(sizeof(T), alignof(T)))
                return static_cast<T*>(slot);
        }
        return std::allocator<T>().allocate(count);
    }
    void deallocate(T* pointer, size_t count) noexcept
    {
        if (count == 1 && m_pool != nullptr && m_pool->Serves(sizeof(T)) && alignof(T) <= kSlotAlignment)
            m_pool->Release(pointer);
        else
            std::allocator<T>().deallocate(pointer, count);
    }

    CEntityNodePool* GetPool() const noexcept { return m_pool; }
    template <class U> bool operator==(const CEntityNodeAllocator<U>& other) const noexcept
    {
        return m_pool == other.GetPool();
    }
    template <class U> bool operator!=(const CEntityNodeAllocator<U>& other) const noexcept
    {
        return m_pool != other.GetPool();
    }

private:
    static constexpr size_t kSlotAlignment = alignof(std::max_align_t);

    CEntityNodePool* m_pool;
};
