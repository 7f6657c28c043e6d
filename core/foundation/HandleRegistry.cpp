#include "core/foundation/HandleRegistry.h"

#include "core/foundation/WholeNumbers.h"

namespace Misc
{

CHandleRegistry& CHandleRegistry::GetInstance()
{
    // Never destroyed: handles may be removed by objects that die late.
    static CHandleRegistry* registry = new CHandleRegistry;
    return *registry;
}

uint32_t CHandleRegistry::AddEntry(void* object, const std::type_info& type)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    do
        ++m_lastId;
    while (m_lastId == 0 || m_entries.count(m_lastId) != 0);
    m_entries.emplace(m_lastId, Entry{object, std::type_index(type)});
    return m_lastId;
}

void* CHandleRegistry::GetEntry(uint32_t id, const std::type_info& type) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto found = m_entries.find(id);
    if (found == m_entries.end() || found->second.type != std::type_index(type))
        return nullptr;
    return found->second.object;
}

bool CHandleRegistry::Remove(uint32_t id)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_entries.erase(id) != 0;
}

bool CHandleRegistry::ToId(double number, uint32_t& id)
{
    return WholeNumbers::Exact(number, id) && id != 0;
}

} // namespace Misc
