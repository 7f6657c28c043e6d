#include "world/EntityNodePool.h"

#include <cstdint>
#include <cstdlib>

// A block: this header, then its slots. Each slot holds its block's
// address, then the node.
struct CEntityNodePool::SBlock
{
    SBlock* previous;
    SBlock* next;
    // Slots given back, each holding the next one's address.
    void* freed;
    // Slots in use, slots carved so far, slots the block has.
    size_t used;
    size_t carved;
    size_t capacity;
    bool open;

    // The header's size, rounded up so that the slots stay aligned.
    static constexpr size_t HeaderSize()
    {
        return (sizeof(SBlock) + kAlignment - 1) / kAlignment * kAlignment;
    }
    unsigned char* Slots() { return reinterpret_cast<unsigned char*>(this) + HeaderSize(); }
};

namespace
{
// The first block has room for a few nodes; each next one for twice as
// many, up to the largest.
constexpr size_t kFirstSlots = 4;
constexpr size_t kMostSlots = 128;
// In front of each node, so that a slot finds its block.
constexpr size_t kSlotHeader = alignof(std::max_align_t);
} // namespace

CEntityNodePool::~CEntityNodePool()
{
    if (m_spare != nullptr)
        std::free(m_spare);
    // Blocks still in use belong to nodes nobody gave back; they are left
    // as they are rather than freed under them.
}

void* CEntityNodePool::Allocate(size_t size, size_t alignment)
{
    if (alignment > kAlignment)
        return nullptr;
    if (m_size == 0)
    {
        m_size = size;
        m_stride = kSlotHeader + (size + kAlignment - 1) / kAlignment * kAlignment;
    }
    else if (size != m_size)
        return nullptr;
    SBlock* block = m_open;
    if (block == nullptr)
    {
        block = m_spare != nullptr ? m_spare : NewBlock();
        if (block == nullptr)
            throw std::bad_alloc();
        m_spare = nullptr;
        Open(block);
    }
    unsigned char* slot;
    if (block->freed != nullptr)
    {
        slot = static_cast<unsigned char*>(block->freed);
        block->freed = *reinterpret_cast<void**>(slot + kSlotHeader);
    }
    else
    {
        slot = block->Slots() + block->carved * m_stride;
        *reinterpret_cast<SBlock**>(slot) = block;
        ++block->carved;
    }
    ++block->used;
    if (block->used == block->capacity)
        Close(block);
    return slot + kSlotHeader;
}

void CEntityNodePool::Release(void* pointer)
{
    if (pointer == nullptr)
        return;
    unsigned char* slot = static_cast<unsigned char*>(pointer) - kSlotHeader;
    SBlock* block = *reinterpret_cast<SBlock**>(slot);
    *reinterpret_cast<void**>(pointer) = block->freed;
    block->freed = slot;
    --block->used;
    if (block->used == 0)
    {
        Close(block);
        // An empty block starts afresh: its slots are carved in order again.
        block->freed = nullptr;
        block->carved = 0;
        if (m_spare == nullptr)
            m_spare = block;
        else
            Free(block);
    }
    else if (!block->open)
        Open(block);
}

CEntityNodePool::SBlock* CEntityNodePool::NewBlock()
{
    size_t capacity = kFirstSlots;
    for (size_t held = m_blocks; held > 0 && capacity < kMostSlots; --held)
        capacity *= 2;
    void* memory = std::malloc(SBlock::HeaderSize() + capacity * m_stride);
    if (memory == nullptr)
        return nullptr;
    auto* block = new (memory) SBlock{nullptr, nullptr, nullptr, 0, 0, capacity, false};
    ++m_blocks;
    return block;
}

void CEntityNodePool::Open(SBlock* block)
{
    block->open = true;
    block->previous = nullptr;
    block->next = m_open;
    if (m_open != nullptr)
        m_open->previous = block;
    m_open = block;
}

void CEntityNodePool::Close(SBlock* block)
{
    if (!block->open)
        return;
    block->open = false;
    if (block->previous != nullptr)
        block->previous->next = block->next;
    else
        m_open = block->next;
    if (block->next != nullptr)
        block->next->previous = block->previous;
    block->previous = block->next = nullptr;
}

void CEntityNodePool::Free(SBlock* block)
{
    --m_blocks;
    std::free(block);
}
