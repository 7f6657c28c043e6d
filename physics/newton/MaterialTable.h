#pragma once

// Material groups and the values and callbacks of each pair of groups, and
// the near callback that applies them to every touching pair of bodies.

#include "physics/newton/Newton.h"

#include <vector>

class btCollisionDispatcher;
class btManifoldPoint;
struct btBroadphasePair;
struct btDispatcherInfo;

struct MaterialPair
{
    float staticFriction = 0.9f;
    float kineticFriction = 0.5f;
    float elasticity = 0.0f;
    void* userData = nullptr;
    NewtonContactBegin begin = nullptr;
    NewtonContactProcess process = nullptr;
    NewtonContactEnd end = nullptr;
};

// What the pair callbacks get: the pair being processed.
struct NewtonMaterial
{
    const MaterialPair* pair = nullptr;
    NewtonBody* body0 = nullptr;
    NewtonBody* body1 = nullptr;
};

class MaterialTable
{
public:
    // Group ids past this are not made: CreateGroup then gives -1 (handing
    // out a group already in use would give its pairs to the new one).
    static constexpr int kMaxGroups = 1024;

    MaterialTable();

    int DefaultGroup() const { return 0; }
    // The next group id, or -1 when all are taken.
    int CreateGroup();
    // Back to the default group alone; every pair's values and callbacks go.
    void DestroyAllGroups();
    // Null for an id that is not a group.
    MaterialPair* Pair(int id0, int id1);
    // Bodies may keep ids of destroyed groups: those use the default pair.
    const MaterialPair& PairOf(int id0, int id1) const;

    // Begin (may reject the pair), narrow phase, friction and elasticity
    // per contact, process per contact, end.
    static void NearCallback(btBroadphasePair& pair, btCollisionDispatcher& dispatcher,
                             const btDispatcherInfo& info);

private:
    static size_t Index(int id0, int id1);
    int m_groups = 1;
    // The lower triangle, row by row: adding a group appends one row.
    std::vector<MaterialPair> m_pairs;
};
