#include "world/navigation/WaypointRevision.h"

#include <atomic>

namespace
{

// Starts above 0, which graphs answer when they keep no revision.
std::atomic<uint64_t> g_revision{1};

} // namespace

uint64_t GetWaypointRevision()
{
    return g_revision.load(std::memory_order_relaxed);
}

void NoteWaypointChange()
{
    g_revision.fetch_add(1, std::memory_order_relaxed);
}
