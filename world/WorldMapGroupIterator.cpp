#include "world/WorldMapGroupIterator.h"

#include "world/WorldMapGroup.h"

#include <algorithm>

CWorldMapGroupIterator::CWorldMapGroupIterator(CWorldMapGroup& group) : m_group(&group)
{
    First();
}

void CWorldMapGroupIterator::Enter(size_t index)
{
    m_index = index;
    const auto& maps = m_group->GetMaps();
    if (index >= maps.size())
        return;
    CWorldMapEntityIterator* made = nullptr;
    maps[index]->CreateIterator(made);
    m_inner.reset(made);
}

void CWorldMapGroupIterator::MoveOn()
{
    const size_t count = m_group->GetMaps().size();
    while (m_index < count && (!m_inner || m_inner->IsDone()))
        Enter(m_index + 1);
}

bool CWorldMapGroupIterator::EnterLastBefore(size_t end)
{
    const auto& maps = m_group->GetMaps();
    for (size_t index = end; index-- > 0;)
    {
        if (maps[index]->GetCount() == 0)
            continue;
        CWorldMapEntityIterator* made = nullptr;
        if (!maps[index]->CreateIterator(made))
            return false;
        made->End();
        made->Previous();
        m_inner.reset(made);
        m_index = index;
        return true;
    }
    return false;
}

void CWorldMapGroupIterator::First()
{
    Enter(0);
}

void CWorldMapGroupIterator::End()
{
    m_index = m_group->GetMaps().size();
}

void CWorldMapGroupIterator::Next()
{
    if (m_index >= m_group->GetMaps().size())
        return;
    if (m_inner)
        m_inner->Next();
    MoveOn();
}

void CWorldMapGroupIterator::Previous()
{
    const size_t count = m_group->GetMaps().size();
    if (m_index < count && m_inner && !m_inner->IsDone())
    {
        if (!m_inner->IsFirst())
            m_inner->Previous();
        else
            EnterLastBefore(m_index);
        return;
    }
    // Done: the last entity of the collections up to the current one.
    EnterLastBefore(std::min(m_index + 1, count));
}

bool CWorldMapGroupIterator::IsFirst()
{
    return m_index == 0 && (!m_inner || m_inner->IsFirst());
}

bool CWorldMapGroupIterator::IsDone()
{
    MoveOn();
    return m_index >= m_group->GetMaps().size();
}

Misc::World::IEntityInterface* CWorldMapGroupIterator::CurrentItem()
{
    return IsDone() ? nullptr : m_inner->CurrentItem();
}
