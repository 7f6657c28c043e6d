#pragma once

class CWorld;

// The contents of the world: what the world object loads, saves and
// unloads. It holds nothing yet.
class CWorldData
{
public:
    explicit CWorldData(CWorld* owner) : m_owner(owner) {}
    CWorldData(const CWorldData&) = delete;
    CWorldData& operator=(const CWorldData&) = delete;

    CWorld* GetOwner() const { return m_owner; }

private:
    CWorld* m_owner;
};
