// Material entry points of the interface.
#include "physics/newton/NewtonHandles.h"
#include "physics/newton/NewtonMath.h"

int NewtonMaterialGetDefaultGroupID(const NewtonWorld* world)
{
    return world ? world->materials.DefaultGroup() : 0;
}

int NewtonMaterialCreateGroupID(const NewtonWorld* world)
{
    return world ? Mutable(world)->materials.CreateGroup() : 0;
}

void NewtonMaterialDestroyAllGroupID(const NewtonWorld* world)
{
    if (world)
        Mutable(world)->materials.DestroyAllGroups();
}

void NewtonMaterialSetDefaultFriction(const NewtonWorld* world, int id0, int id1, float staticFriction,
                                      float kineticFriction)
{
    MaterialPair* pair = world ? Mutable(world)->materials.Pair(id0, id1) : nullptr;
    if (!pair)
        return;
    pair->staticFriction = NewtonMath::Clamp(staticFriction, 0, 2, pair->staticFriction);
    pair->kineticFriction =
        NewtonMath::Clamp(kineticFriction, 0, pair->staticFriction, pair->kineticFriction);
}

void NewtonMaterialSetDefaultElasticity(const NewtonWorld* world, int id0, int id1, float elasticCoef)
{
    MaterialPair* pair = world ? Mutable(world)->materials.Pair(id0, id1) : nullptr;
    if (pair)
        pair->elasticity = NewtonMath::Clamp(elasticCoef, 0, 1, pair->elasticity);
}

void NewtonMaterialSetCollisionCallback(const NewtonWorld* world, int id0, int id1, void* userData,
                                        NewtonContactBegin begin, NewtonContactProcess process,
                                        NewtonContactEnd end)
{
    MaterialPair* pair = world ? Mutable(world)->materials.Pair(id0, id1) : nullptr;
    if (!pair)
        return;
    pair->userData = userData;
    pair->begin = begin;
    pair->process = process;
    pair->end = end;
}

void* NewtonMaterialGetMaterialPairUserData(const NewtonMaterial* material)
{
    return material && material->pair ? material->pair->userData : nullptr;
}
